// The events the gadget tests of every back end read: drain_events is
// implemented by each back end's gadget_support.cpp.
#pragma once

#include <vector>

#include "runtime/core/object_table.h"
#include "runtime/gui/event.h"

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
inline std::vector<SeenEvent> gadget_events() {
    std::vector<SeenEvent> gadget;
    for (const SeenEvent& event : drain_events())
        if (event.kind == EVENT_GADGET) gadget.push_back(event);
    return gadget;
}
