// The PNG decoder, on libpng: reads a PNG stream in memory into rows of
// B, G, R (24-bit: RGB without transparency) or B, G, R, A pixels (32-bit:
// everything else). Grey and palette images are widened to RGB, samples
// below 8 bits to 8 bits, 16-bit samples cut to their high byte; a tRNS
// chunk becomes alpha. No gamma correction. Errors fail the decode; the
// stream is never read beyond the context's size.
#pragma once

#include "runtime/image/image_codecs.h"

bool png_decode_probe(DecodeContext& context);
bool png_decode_read(DecodeContext& context, unsigned char* pixels, std::size_t pitch, int flags);
void png_decode_close(DecodeContext& context);
