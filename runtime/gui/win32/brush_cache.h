// Solid brushes shared by colour: gadgets with equal back colours use one
// brush, which is deleted when the last of them gives it back. Process-wide,
// under its own lock.
#pragma once

#include <windows.h>

// A brush for the colour (0x00BBGGRR), counted once more; nullptr when no
// brush can be made.
HBRUSH brush_cache_take(COLORREF colour);
// Counts the brush down and deletes it at 0; unknown brushes are ignored.
void brush_cache_return(HBRUSH brush);

// For tests: the number of brushes held, and the references to a colour's brush.
int brush_cache_size();
int brush_cache_count(COLORREF colour);
