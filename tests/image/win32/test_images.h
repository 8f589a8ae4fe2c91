// Image data and inspection for the Win32 image tests: bitmap and icon files
// built byte by byte, the colour an icon draws.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "../png_test_support.h"

// A bitmap file: BITMAPFILEHEADER, BITMAPINFOHEADER, the palette (0x00RRGGBB
// entries) and the pixel bytes as given (rows in file order, padded).
Bytes bmp_file(int width, int height, int bit_count, const std::vector<std::uint32_t>& palette,
               const Bytes& pixel_bytes);

// One icon file entry: a square image of one colour (0x00RRGGBB), opaque.
struct IconEntryPlan {
    int size;
    int bit_count;  // 4, 8 or 32
    std::uint32_t colour;
};
Bytes ico_file(const std::vector<IconEntryPlan>& entries);

// The colour (0x00RRGGBB) the icon draws at the middle of a size x size
// square over black.
std::uint32_t icon_middle_colour(HICON icon, int size);
