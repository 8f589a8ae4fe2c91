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

// A platform message that makes no event (the pointer's motion or leaving),
// for the next wait that finds the queue empty: like the reference
// platform's native messages it comes after every queued event and never
// stands between two of them. A newer one replaces one not yet read.
struct PendingMessage {
    int kind;  // 0: none
    ObjectNumber window;
};

PendingMessage& pending_message();  // of the calling thread

EventState& event_state();  // of the calling thread, zero until first used

