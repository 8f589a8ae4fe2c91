// The media tests' files, on every back end: the folder the wrapper
// (run_media_tests.sh) made for this run, the phase it runs the program in,
// and the video file the tests write there (avi_file.cpp).
#pragma once

#include <string>

// MEDIA_TEST_DIR as the platform names it (a Windows path under Wine); empty
// when the program was not started by the wrapper.
std::u16string media_test_folder();
// A file in that folder.
std::u16string media_file(const char16_t* name);

// The wrapper runs the program three times: without an audio server
// ("none"), with the private server and its null sink ("null-sink"), and with
// a server it stops when the program asks ("server-gone").
bool audio_phase_is(const char* phase);

// A small uncompressed AVI video, the one kind every back end's splitter
// reads without any codec: width x height pixels of 24-bit RGB, frames at 10
// per second, no sound, each frame a different grey. False when the file
// cannot be written.
bool write_avi(const std::u16string& path, int width, int height, int frames);
