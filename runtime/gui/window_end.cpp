// The window library's end, for every back end: every window closes, and the
// data of the event read last (a drop's files) is let go.
#include "runtime/gui/event_queue.h"
#include "runtime/gui/window.h"

void window_end() {
    window_close(-1);
    event_release_current();
}
