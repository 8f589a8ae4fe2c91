// windows_suspend / windows_restore: keep a thread's other windows from taking
// input while one of its requesters is open, and give them back their enabled
// and topmost states afterwards.
#include <windows.h>

#include <iterator>
#include <list>
#include <mutex>
#include <new>

#include "runtime/gui/requester.h"

namespace {

struct SuspendedWindow {
    DWORD thread_id;
    HWND hwnd;
    BYTE was_topmost;
    BYTE disabled_by_us;
    int level;  // the suspend of its thread that made the record; pairs nest
};

// The records of every thread; each thread only restores and removes its own.
// A list, so that records move between it and a thread's own list by splicing,
// which never allocates.
std::mutex suspended_lock;
std::list<SuspendedWindow> suspended;

// How many suspends of the calling thread wait for their restore.
thread_local int suspend_level = 0;

struct Collection {
    std::list<SuspendedWindow>* records;
    int level;
    bool out_of_memory;
};

BOOL CALLBACK collect_thread_window(HWND hwnd, LPARAM context) {
    auto* collection = reinterpret_cast<Collection*>(context);
    const DWORD thread_id = GetCurrentThreadId();
    if (GetWindowThreadProcessId(hwnd, nullptr) != thread_id || !IsWindowVisible(hwnd)) return TRUE;
    // No exception may unwind through the platform's enumeration.
    try {
        collection->records->push_back({thread_id, hwnd, 0, 0, collection->level});
    } catch (const std::bad_alloc&) {
        collection->out_of_memory = true;
        return FALSE;
    }
    return TRUE;
}

void set_topmost(HWND hwnd, HWND after) {
    SetWindowPos(hwnd, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace

void windows_suspend() {
    const int level = ++suspend_level;
    std::list<SuspendedWindow> records;
    Collection collection{&records, level, false};
    EnumWindows(collect_thread_window, reinterpret_cast<LPARAM>(&collection));
    // Without a record for every window nothing is touched: a window disabled
    // without one could never be enabled again.
    if (collection.out_of_memory) return;

    // Windows change outside the lock: EnableWindow and SetWindowPos send
    // messages, and a window procedure may call into the runtime.
    const HWND foreground = GetForegroundWindow();
    for (SuspendedWindow& record : records) {
        record.was_topmost = (GetWindowLongPtrW(record.hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
        if (record.hwnd != foreground && IsWindowEnabled(record.hwnd)) {
            record.disabled_by_us = 1;
            EnableWindow(record.hwnd, FALSE);
        }
    }
    for (const SuspendedWindow& record : records)
        if (record.was_topmost) set_topmost(record.hwnd, HWND_NOTOPMOST);

    std::lock_guard<std::mutex> hold(suspended_lock);
    suspended.splice(suspended.end(), records);
}

void windows_restore() {
    if (suspend_level == 0) return;  // no suspend to answer
    const DWORD thread_id = GetCurrentThreadId();
    const int level = suspend_level--;

    std::list<SuspendedWindow> mine;
    {
        std::lock_guard<std::mutex> hold(suspended_lock);
        for (auto record = suspended.begin(); record != suspended.end();) {
            auto next = std::next(record);
            if (record->thread_id == thread_id && record->level == level)
                mine.splice(mine.end(), suspended, record);
            record = next;
        }
    }

    for (const SuspendedWindow& record : mine) {
        if (!IsWindow(record.hwnd)) continue;  // closed while the requester was open
        if (record.disabled_by_us) EnableWindow(record.hwnd, TRUE);
        if (record.was_topmost) set_topmost(record.hwnd, HWND_TOPMOST);
    }
}
