// The per-thread EventState, the accessors of the current event, and the
// event library's start and end.
#include <glib.h>

#include "runtime/gui/event_queue.h"
#include "runtime/gui/gtk/event_state.h"

namespace {

thread_local EventState state{};
thread_local PendingMessage pending{};

// A thread blocked in event_wait sees queued events only when its loop wakes.
void wake_main_loop() { g_main_context_wakeup(nullptr); }

}  // namespace

EventState& event_state() { return state; }
PendingMessage& pending_message() { return pending; }

void event_release_current() {
    if (state.data && state.release) state.release(state.data);
    state.data = nullptr;
    state.release = nullptr;
}

bool event_init() {
    event_queue_set_waker(wake_main_loop);
    return true;
}

void event_end() {
    event_queue_set_waker(nullptr);
    event_queue_clear(event_queue());
    event_release_current();
    pending = {};
}

ObjectNumber event_gadget() { return state.object; }
ObjectNumber event_menu_item() { return state.object; }
ObjectNumber event_window() { return state.window; }
int event_subtype() { return state.subtype; }
void* event_data() { return state.data; }
