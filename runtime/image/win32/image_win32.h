// What the Win32 image code shares: the three ways image data becomes a
// bitmap or icon. Each fills a record (handle, size, depths, tag) or says why
// it could not.
#pragma once

#include <windows.h>

#include <cstddef>

#include "runtime/image/image.h"

enum class ImageMade {
    made,        // the record holds a new bitmap or icon
    not_mine,    // the data is not of this kind: offer it to the next way
    failed,      // the data is of this kind but no image came of it
};

// Data starting with "BM": a bitmap file, copied into a DIB section of at
// least 24 bits per pixel.
ImageMade bitmap_file_image(const unsigned char* data, std::size_t size, ImageRecord& record);

// Data starting with an icon directory: an icon from its best entry.
ImageMade icon_file_image(const unsigned char* data, std::size_t size, ImageRecord& record);

// Anything a registered decoder accepts: a bottom-up DIB section.
ImageMade decoded_image(const unsigned char* data, std::size_t size, ImageRecord& record);

// A 24- or 32-bit bottom-up DIB section; its pixel memory in *bits.
HBITMAP dib_section_create(int width, int height, int depth, void** bits);

// Width, height and depth of a bitmap into the record.
bool record_bitmap_shape(HBITMAP bitmap, ImageRecord& record);
