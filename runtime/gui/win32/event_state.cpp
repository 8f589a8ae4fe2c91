// The per-thread EventState, immediate events, the accessors of the current
// event, and the event library's start and end.
#include <windows.h>

#include <atomic>

#include "runtime/gui/event_queue.h"
#include "runtime/gui/win32/event_state.h"
#include "runtime/gui/win32/gui_win32.h"

namespace {

thread_local EventState state{};
std::atomic<EventDataRelease> drop_release{nullptr};
std::atomic<DWORD> main_thread_id{0};

// A thread blocked in event_wait sees queued events only when a message wakes it.
void wake_main_thread() {
    const DWORD main_thread = main_thread_id.load();
    if (main_thread && main_thread != GetCurrentThreadId()) PostThreadMessageW(main_thread, WM_NULL, 0, 0);
}

void set_immediate(int kind, const ObjectNumber* object, ObjectNumber window, int subtype) {
    if (state.dispatching > 0) {
        state.live.kind = kind;
        if (object) state.live.object = *object;
        state.live.window = window;
        state.live.subtype = subtype;
        return;
    }
    event_post(kind, object ? *object : state.current.object, window, subtype);
}

}  // namespace

EventState& event_state() { return state; }

void event_set_immediate(int kind, ObjectNumber object, ObjectNumber window, int subtype) {
    set_immediate(kind, &object, window, subtype);
}

void event_set_immediate_object_kept(int kind, ObjectNumber window, int subtype) {
    set_immediate(kind, nullptr, window, subtype);
}

void event_set_immediate_data(int kind, ObjectNumber object, ObjectNumber window, int subtype, void* data,
                              EventDataRelease release) {
    if (state.dispatching == 0) {
        event_post(kind, object, window, subtype, data, release);
        return;
    }
    if (state.live.data && state.live.release && state.live.data != data) state.live.release(state.live.data);
    state.live.data = data;
    state.live.release = release;
    set_immediate(kind, &object, window, subtype);
}

void event_drop_release_set(EventDataRelease release) { drop_release.store(release); }
EventDataRelease event_drop_release() { return drop_release.load(); }

void event_release_current() {
    EventFields& current = state.current;
    if (current.data && current.release) current.release(current.data);
    current.data = nullptr;
    current.release = nullptr;
}

bool event_init() {
    main_thread_id.store(GetCurrentThreadId());
    event_queue_set_waker(wake_main_thread);
    return true;
}

void event_end() {
    event_queue_set_waker(nullptr);
    event_queue_clear(event_queue());
    event_release_current();
    main_thread_id.store(0);
}

ObjectNumber event_gadget() { return state.current.object; }
ObjectNumber event_menu_item() { return state.current.object; }
ObjectNumber event_window() { return state.current.window; }
int event_subtype() { return state.current.subtype; }
void* event_data() { return state.current.data; }
