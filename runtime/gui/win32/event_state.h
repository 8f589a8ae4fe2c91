// EventState: the calling thread's event being made (live) and the copy of the
// last one returned by event_wait (current), which the accessors read.
#pragma once

#include <windows.h>

#include "runtime/gui/event.h"

struct EventFields {
    ObjectNumber object;
    ObjectNumber window;
    int subtype;
    int kind;
    WPARAM wparam;
    LPARAM lparam;
    void* data;
    EventDataRelease release;
};

struct EventState {
    EventFields live;
    EventFields current;
    int dispatching;  // > 0 while event_wait retrieves and dispatches a native message
};

EventState& event_state();  // of the calling thread, zero until first used

// Immediate event with data (a drop); outside dispatch it is queued instead.
void event_set_immediate_data(int kind, ObjectNumber object, ObjectNumber window, int subtype,
                              void* data, EventDataRelease release);
// How a DropRecord is released (registered by the drop family, may be null).
EventDataRelease event_drop_release();
