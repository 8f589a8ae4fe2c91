// The fifteen toolbar icons, complete PNG streams stored back to back in the
// program's data; icon n is toolbar image n. The second set holds the same
// pictures drawn at 32 x 32 pixels, for screens that show two device pixels
// per unit.
#pragma once

#include <cstddef>

int toolbar_icon_count();
const unsigned char* toolbar_icon_data(int n);  // nullptr outside 0 .. count - 1
std::size_t toolbar_icon_size(int n);           // 0 outside

int toolbar_icon_32_count();
const unsigned char* toolbar_icon_32_data(int n);  // nullptr outside 0 .. count - 1
std::size_t toolbar_icon_32_size(int n);           // 0 outside
