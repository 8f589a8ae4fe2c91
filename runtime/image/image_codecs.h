// Decoders and encoders: the tables image_catch consults, and the per-thread
// context a decode works in. Portable: the decoders fill caller-provided rows,
// the back end turns them into platform bitmaps.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct ImageDecoder;

// One decode in progress. One per thread, re-used by every decode on it.
struct DecodeContext {
    const ImageDecoder* decoder;  // the decoder that accepted the data
    const unsigned char* data;
    std::size_t size;             // bytes the decoder may read, never more
    int width;
    int height;
    int depth;                    // bits per output pixel: 24 or 32
    int source_depth;             // bits per pixel of the data
    // Belongs to the accepting decoder; cleared before each probe.
    alignas(std::max_align_t) unsigned char private_area[8 * sizeof(void*)];
};

inline constexpr int DECODE_BOTTOM_UP = 2;  // read flag: last row first in memory

struct ImageDecoder {
    bool (*probe)(DecodeContext& context);  // accepts the data, fills size and depths
    // Writes height rows of width pixels (B, G, R[, A]) pitch bytes apart.
    bool (*read)(DecodeContext& context, unsigned char* pixels, std::size_t pitch, int flags);
    void (*close)(DecodeContext& context);  // after any accepted probe; safe to repeat
    std::uint32_t tag;
};

// Rows of B, G, R (24-bit) or B, G, R, A (32-bit) pixels, stored bottom-up
// pitch bytes apart as in a DIB, encoded into out (replaced).
using ImageWriteFn = bool (*)(const unsigned char* pixels, std::size_t pitch, int width, int height,
                              std::vector<unsigned char>& out);

struct ImageEncoder {
    std::uint32_t tag;
    ImageWriteFn write24;
    ImageWriteFn write32;
};

// The calling thread's context.
DecodeContext& decode_context();

// Prepares the context for the data and offers it to every decoder in
// registration order; true when one accepted (then context.decoder is set and
// its close must follow).
bool decode_start(DecodeContext& context, const void* data, std::size_t size);

// Registration happens at start-up, before any decode. A decoder or encoder
// whose tag is already registered is not added again; false when it was not
// added (already there, or the table is full).
bool image_decoder_add(const ImageDecoder& decoder);
bool image_encoder_add(const ImageEncoder& encoder);
int image_decoder_count();
const ImageEncoder* image_encoder_find(std::uint32_t tag);
