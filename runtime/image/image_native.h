// What each back end gives the image table (image_table.cpp): a native image
// made from image data in memory, and its end.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/image/image.h"

// Fills the record (handle, size, depths, tag) with a new native image made
// from the data; false when the data makes none. Never reads beyond size.
bool image_native_make(const void* data, std::size_t size, ImageRecord& record);
void image_native_destroy(std::intptr_t handle);
