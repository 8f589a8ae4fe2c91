// Shared by the media tests under Windows: where the test media are, the phase
// the wrapper script runs the program in, and the real graph's state.
#pragma once

#include <windows.h>
#include <dshow.h>

#include <string>

// The folder the wrapper made for this run (MEDIA_TEST_DIR, a Unix path), as a
// Windows path; empty when the program was not started by the wrapper.
std::u16string media_test_folder();
// A file in that folder.
std::u16string media_file(const char16_t* name);

// The wrapper runs the program twice: once without an audio server ("none"),
// once with the private server and its null sink ("null-sink").
bool audio_phase_is(const char* phase);

// The graph's own state (State_Stopped, State_Paused, State_Running) once a
// transition has finished, or -1.
int graph_state(IMediaControl* control);
// The current position in seconds, or -1.
double position_seconds(IMediaSeeking* seeking);
// Waits until the position reaches the given seconds; false after a timeout.
bool wait_for_position(IMediaSeeking* seeking, double seconds);
