// What the movie tests every back end runs see of a movie's native side, the
// DirectShow graph or the GStreamer pipeline; each back end's folder
// implements it.
#pragma once

#include <cstdint>

#include "runtime/core/object_table.h"

// The graph or pipeline the number holds; 0 when it holds none.
std::intptr_t native_movie(ObjectNumber number);

// Its state once a transition has finished, -1 when none finishes. A stopped
// graph has a state of its own; a stopped pipeline is paused at its start.
extern const int NATIVE_STOPPED, NATIVE_PAUSED, NATIVE_PLAYING;
int native_state(ObjectNumber number);

// Its position in seconds, -1 when it tells none; and a wait until the
// position reaches the seconds (movie_probe.cpp), false after a timeout.
double native_position(ObjectNumber number);
bool wait_for_position(ObjectNumber number, double seconds);
// Lets ms pass, handling what the thread's windows were sent meanwhile: a
// video's window may belong to the thread that plays it.
void native_idle(int ms);

// From now on the test holds the number's graph or pipeline too, and
// native_alive counts those it holds that the service holds as well; the
// test lets go of the others.
void native_watch(ObjectNumber number);
int native_alive();
