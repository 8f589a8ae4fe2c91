// PNG streams as the toolbar icons carry them: IHDR, gAMA (0.45), one tEXt
// naming this generator, one IDAT, IEND.
#pragma once

#include <vector>

// rgba: straight-alpha RGBA bytes, top row first. grey_alpha: store as grey
// with alpha (colour type 4); every pixel must then have r = g = b.
// Empty when a grey image has colour in it or compression fails.
std::vector<unsigned char> png_stream(const std::vector<unsigned char>& rgba, int width, int height,
                                      bool grey_alpha);
