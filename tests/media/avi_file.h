// A small uncompressed AVI video written by the tests: the one kind of video
// file every back end's splitter reads without any codec.
#pragma once

#include <string>

// width x height pixels of 24-bit RGB, frames at 10 per second, no sound;
// each frame a different grey. False when the file cannot be written.
bool write_avi(const std::u16string& path, int width, int height, int frames);
