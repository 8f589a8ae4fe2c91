// The PNG encoder, on libpng's write side: DIB-style rows (bottom-up, B, G,
// R[, A]) to an 8-bit RGB or RGBA PNG stream in memory.
#pragma once

#include "runtime/image/image_codecs.h"

bool png_encode24(const unsigned char* pixels, std::size_t pitch, int width, int height,
                  std::vector<unsigned char>& out);
bool png_encode32(const unsigned char* pixels, std::size_t pitch, int width, int height,
                  std::vector<unsigned char>& out);
