// Where the media tests find their files, on every back end: the folder the
// wrapper (run_media_tests.sh) made for this run, and the phase it runs the
// program in.
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
