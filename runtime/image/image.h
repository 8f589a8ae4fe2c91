// Images: numbered platform bitmaps and icons made from image data in memory.
// image_catch recognises, in this order, a bitmap file ("BM"), an icon file,
// and whatever a registered decoder accepts (PNG). Decoded images become
// bottom-up DIB sections of 24 or 32 bits per pixel; 32-bit pixels are B, G,
// R, A with straight (not premultiplied) alpha.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/core/object_table.h"

// Format tags: ASCII letters, the first in the lowest byte, unused bytes zero.
constexpr std::uint32_t image_tag(char a, char b, char c, char d = 0) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(a)) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b)) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(c)) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(d)) << 24;
}
inline constexpr std::uint32_t IMAGE_TAG_BMP = image_tag('B', 'M', 'P');
inline constexpr std::uint32_t IMAGE_TAG_ICON = image_tag('I', 'C', 'O', 'N');
inline constexpr std::uint32_t IMAGE_TAG_PNG = image_tag('P', 'N', 'G');

struct ImageRecord {
    std::intptr_t handle;        // bitmap or icon; non-zero while live
    std::uint16_t width;
    std::uint16_t height;
    std::uint8_t depth;          // bits per pixel as created
    std::uint8_t source_depth;   // bits per pixel of the data it came from
    std::uint32_t tag;           // IMAGE_TAG_BMP, IMAGE_TAG_ICON or the decoder's
    std::intptr_t double_handle; // the picture at twice the width and height; 0 none
};

// The size image_catch assumes when the caller gives none.
inline constexpr std::size_t IMAGE_DEFAULT_SIZE = 10000000;

bool image_init();                  // start-up: the image table
void image_decoder_png_register();  // a second call does nothing
void image_encoder_png_register();  // a second call does nothing

// Result: the bitmap or icon handle (the new number for DYNAMIC_ID); 0 on
// failure, which leaves no image under the number. Data is never read beyond
// the given size.
std::intptr_t image_catch(ObjectNumber number, const void* data, std::size_t size = IMAGE_DEFAULT_SIZE);
// Gives the image a second picture of the same subject at twice its width
// and height, drawn for screens that show two device pixels per unit; a
// second call replaces it. Result: the native handle of that picture; 0 when
// the number holds no image or the data makes no picture of exactly that
// size, which leaves the image as it was.
std::intptr_t image_catch_double(ObjectNumber number, const void* data, std::size_t size);
void image_free(ObjectNumber number);  // -1 frees every image, each with its double picture
void image_free_all();                 // end

// A copy of the image's record; all zero when there is no such image.
ImageRecord image_record(ObjectNumber number);
// Whether a live image has this handle: a handle that came from the program
// (freed, made up) is looked up here, never trusted.
bool image_handle_live(std::intptr_t handle);
// The double picture of the live image with this handle; 0 when it has none
// or no live image has the handle.
std::intptr_t image_double_of(std::intptr_t handle);

// Byte length of one DIB row: the row rounded up to a multiple of 4 bytes.
std::size_t image_row_pitch(int width, int depth);
