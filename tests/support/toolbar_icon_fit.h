// The toolbar's icon files and how well what a screen shows fits them: for the
// scenarios of both programs, which compare a button's pixels with the
// 16- and 32-pixel icons the program embeds.
#pragma once

#include <cstddef>
#include <vector>

// The images the toolbar's places show, left to right.
inline constexpr int IMAGE_AT_PLACE[15] = {0, 1, 2, 3, 4, 5, 6, 8, 9, 10, 11, 13, 12, 14, 7};

// A toolbar icon's pixels, B, G, R, A with straight alpha, top row first.
struct Picture {
    int size = 0;
    std::vector<unsigned char> bgra;
};

// Decoded by the runtime's PNG decoder (image_decoder_png_register first);
// empty when the data is no picture.
Picture decoded(const unsigned char* png, std::size_t length);
// The icon of image n in the 16- or the 32-pixel set.
Picture toolbar_icon(int n, int side);

// The picture enlarged as a screen would enlarge it without a larger one:
// every pixel twice as wide and high.
Picture enlarged(const Picture& small);

// How the picture fits what the screen shows in an area (0x00RRGGBB, row
// after row, its last pixel the area's background): drawn over that
// background at the place it fits best, the largest difference of one
// colour channel there.
int best_fit(const std::vector<unsigned long>& shown, int width, int height, const Picture& picture);
