// What the image tests every back end runs see of the native images
// image_catch makes; each back end's test folder implements it.
#pragma once

#include <cstdint>

#include "tests/image/png_test_support.h"

// The native image's pixels, top row first, as B, G, R, A.
Pixels native_pixels(std::intptr_t handle);
// Its bits per pixel, 32 with alpha and 24 without; -1 when the handle is no
// native image.
int native_depth(std::intptr_t handle);
// From now on native_alive counts the native image behind the handle while it
// exists.
void native_watch(std::intptr_t handle);
int native_alive();
