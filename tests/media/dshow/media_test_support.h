// Shared by the media tests under Windows: where the test media are (as
// media_files.h gives them), and the real graph's state.
#pragma once

#include <windows.h>
#include <dshow.h>

#include <string>

#include "tests/media/media_files.h"

// The graph's own state (State_Stopped, State_Paused, State_Running) once a
// transition has finished, or -1.
int graph_state(IMediaControl* control);
// The current position in seconds, or -1.
double position_seconds(IMediaSeeking* seeking);
// Waits until the position reaches the given seconds; false after a timeout.
bool wait_for_position(IMediaSeeking* seeking, double seconds);
