// event_wait: one queued event, or one native message translated and
// dispatched, per call. Queued events always come first.
#include <windows.h>

#include "runtime/gui/event_queue.h"
#include "runtime/gui/win32/event_state.h"
#include "runtime/gui/win32/window_record.h"

namespace {

bool take_queued(EventFields& live, int* kind) {
    QueuedEvent event;
    if (!event_queue_take(event_queue(), &event)) return false;
    live.object = event.object;
    live.window = event.window;
    live.subtype = event.subtype;
    live.data = event.data;
    live.release = event.release;
    *kind = event.kind;
    return true;
}

// One native message, waiting as asked. Sent messages are handled inside
// the platform's retrieval calls; one of them may set an immediate event,
// which ends a timed wait early.
bool next_message(int milliseconds, MSG* message, const EventFields& live) {
    if (milliseconds < 0) return GetMessageW(message, nullptr, 0, 0) != -1;
    if (PeekMessageW(message, nullptr, 0, 0, PM_REMOVE)) return true;
    if (milliseconds == 0) return false;
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        if (live.kind != 0 || now >= deadline) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
        if (PeekMessageW(message, nullptr, 0, 0, PM_REMOVE)) return true;
    }
}

bool is_wake_message(const MSG& message) { return message.hwnd == nullptr && message.message == WM_NULL; }

}  // namespace

int event_wait() { return event_wait_timeout(-1); }

int event_wait_timeout(int milliseconds) {
    EventState& state = event_state();
    EventFields& live = state.live;
    event_release_current();
    live.subtype = -1;
    live.kind = 0;
    live.data = nullptr;
    live.release = nullptr;
    live.wparam = 0;
    live.lparam = 0;

    int result = 0;
    if (!take_queued(live, &result)) {
        ++state.dispatching;
        MSG message{};
        const bool got = next_message(milliseconds, &message, live);
        bool woken_for_queue = false;
        if (got && is_wake_message(message)) woken_for_queue = take_queued(live, &result);
        if (got && !woken_for_queue && !focus_keys_translate(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        --state.dispatching;
        if (live.kind != 0) {
            result = live.kind;
            live.kind = 0;
        } else if (got && !woken_for_queue) {
            result = static_cast<int>(message.message);
            live.wparam = message.wParam;
            live.lparam = message.lParam;
        }
    }
    state.current = live;
    state.current.kind = result;
    live.data = nullptr;
    live.release = nullptr;
    return result;
}
