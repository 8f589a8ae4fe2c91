// What the image tests share: the PngSuite images on disk, a chunk scanner of
// our own, reference decodes made with libpng independently of the runtime's
// decoder, and a pixel comparison.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/image/image.h"
#include "runtime/image/image_codecs.h"

using Bytes = std::vector<unsigned char>;

Bytes read_file(const std::string& path);
std::string pngsuite_path(const std::string& name);
std::vector<std::string> pngsuite_names();  // sorted

struct PngChunk {
    std::string type;
    Bytes data;
};
// The stream's chunks in order; empty when it is not a well-formed PNG.
std::vector<PngChunk> png_chunks(const Bytes& png);
// The colour type and bit depth from IHDR, and whether a tRNS chunk is present.
struct PngHeader {
    int width, height, bit_depth, colour_type, interlace;
    bool transparency;
};
PngHeader png_header(const Bytes& png);

// Pixels top row first, 4 bytes each: B, G, R, A (A = 255 for 24-bit images).
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> bgra;
};

// From rows as a decoder writes them (24- or 32-bit, pitch apart).
Pixels pixels_from_rows(const unsigned char* rows, std::size_t pitch, int width, int height, int depth,
                        bool bottom_up);

// libpng's own reading of the file, without gamma correction: its simplified
// API for files up to 8 bits per sample, the raw 16-bit samples cut to their
// high byte for the others (see the .cpp for why).
bool reference_decode(const Bytes& png, Pixels& out);

::testing::AssertionResult same_pixels(const Pixels& actual, const Pixels& expected);

// What image_catch does with the registered decoders, into memory rows
// padded like a DIB's: probe, read (in the rows' order the flags give),
// close.
struct Decoded {
    bool probed = false;
    bool read = false;
    std::uint32_t tag = 0;
    int depth = 0;
    int source_depth = 0;
    Pixels pixels;
};
Decoded decode(const unsigned char* data, std::size_t size, int flags = DECODE_BOTTOM_UP);
Decoded decode(const Bytes& data);
