// EventState: the calling thread's current event, the last one event_wait
// returned, which the accessors read.
#pragma once

#include "runtime/gui/event.h"

struct EventState {
    ObjectNumber object;
    ObjectNumber window;
    int subtype;
    int kind;
    void* data;
    EventDataRelease release;
};

EventState& event_state();  // of the calling thread, zero until first used

