// event_wait: one queued event per call, or else the pointer's last motion or
// leaving. Every signal that matters queues its event, so the wait runs the
// GLib main loop, which sleeps until something arrives, only while there is
// neither: nothing polls. Unlike the reference platform, other native
// messages that make no event are never returned.
#include <glib.h>

#include "runtime/gui/event_queue.h"
#include "runtime/gui/gtk/event_state.h"

namespace {

gboolean on_timeout(gpointer expired) {
    *static_cast<bool*>(expired) = true;
    return G_SOURCE_REMOVE;
}

bool nothing_to_return() { return event_queue_empty(event_queue()) && pending_message().kind == 0; }

// Runs the main loop until an event is queued or the time is up.
void run_main_loop(int milliseconds) {
    if (!nothing_to_return()) return;
    if (milliseconds == 0) {
        g_main_context_iteration(nullptr, FALSE);
        return;
    }
    bool expired = false;
    const guint timer = milliseconds > 0 ? g_timeout_add(static_cast<guint>(milliseconds), on_timeout, &expired) : 0;
    while (nothing_to_return() && !expired) g_main_context_iteration(nullptr, TRUE);
    if (timer && !expired) g_source_remove(timer);
}

}  // namespace

int event_wait() { return event_wait_timeout(-1); }

int event_wait_timeout(int milliseconds) {
    EventState& state = event_state();
    event_release_current();
    run_main_loop(milliseconds);
    QueuedEvent event;
    if (event_queue_take(event_queue(), &event)) {
        state = {event.object, event.window, event.subtype, event.kind, event.data, event.release};
        return event.kind;
    }
    PendingMessage& message = pending_message();
    // Nothing came: the object and window of the last event stay. After a
    // platform message the object stays too, as it does on the reference platform.
    if (message.kind != 0) state.window = message.window;
    state.kind = message.kind;
    state.subtype = -1;
    message = {};
    return state.kind;
}
