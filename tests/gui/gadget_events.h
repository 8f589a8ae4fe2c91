// The events the gadget tests of every back end read: what event_wait gives,
// implemented by each back end's gadget_support.cpp.
#pragma once

#include <vector>

#include "runtime/core/object_table.h"

struct SeenEvent {
    int kind;
    ObjectNumber object;
    ObjectNumber window;
    int subtype;
};

// The gadget, menu, drop and other runtime events from EVENT_GADGET on, and
// size and close events, that are waiting once the platform has delivered
// what was pending, in order; the platform's own messages, repaints and moves
// are not listed.
std::vector<SeenEvent> drain_events();
// Only the EVENT_GADGET ones.
std::vector<SeenEvent> gadget_events();
