// The drop service's start and end, the DropRecords handed to the event queue,
// and the file names of the current drop event.
#include <windows.h>
#include <ole2.h>

#include <atomic>
#include <cstdlib>

#include "runtime/gui/drop.h"
#include "runtime/gui/drop_files_text.h"
#include "runtime/gui/win32/drop_win32.h"
#include "runtime/gui/win32/event_state.h"
#include "runtime/gui/win32/gui_win32.h"

namespace {

std::atomic<int> live_records{0};
std::atomic<bool> ole_started{false};

// 8-bit names are in the system code page.
std::size_t narrow_names(const char* name, std::size_t length, char16_t* out, std::size_t room) {
    return static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, name, static_cast<int>(length),
                                                        reinterpret_cast<wchar_t*>(out), static_cast<int>(room)));
}

// The current event's record, if the current event is a drop.
const DropRecord* current_drop() {
    const EventFields& current = event_state().current;
    if (current.release != drop_record_free) return nullptr;
    return static_cast<const DropRecord*>(current.data);
}

// The record first, so that the record's address is the holder's.
struct HeldDropRecord {
    DropRecord record;
    STGMEDIUM medium;
};

}  // namespace

DropRecord* drop_record_make(const DropRecord& fields, STGMEDIUM* medium) {
    auto* held = static_cast<HeldDropRecord*>(std::malloc(sizeof(HeldDropRecord)));
    if (!held) {
        if (medium) ReleaseStgMedium(medium);
        return nullptr;
    }
    held->record = fields;
    held->record.data = nullptr;
    held->record.size = 0;
    held->medium = STGMEDIUM{};
    if (medium) {
        held->medium = *medium;
        *medium = STGMEDIUM{};
        void* data = held->medium.tymed == TYMED_HGLOBAL && held->medium.hGlobal
                         ? GlobalLock(held->medium.hGlobal)
                         : nullptr;
        if (!data) {
            ReleaseStgMedium(&held->medium);
            std::free(held);
            return nullptr;
        }
        held->record.data = data;
        held->record.size = GlobalSize(held->medium.hGlobal);
    }
    live_records.fetch_add(1);
    return &held->record;
}

void drop_record_free(void* record) {
    if (!record) return;
    auto* held = reinterpret_cast<HeldDropRecord*>(record);
    if (held->record.data) {
        GlobalUnlock(held->medium.hGlobal);
        ReleaseStgMedium(&held->medium);
    }
    std::free(held);
    live_records.fetch_sub(1);
}

int drop_record_live_count() { return live_records.load(); }

bool drop_init() {
    event_drop_release_set(drop_record_free);
    const bool started = SUCCEEDED(OleInitialize(nullptr));
    ole_started.store(started);
    return started;
}

// The release function stays registered: window_end, which runs later, still
// frees a record left with the last event.
void drop_end() {
    if (ole_started.exchange(false)) OleUninitialize();
}

char16_t* event_drop_files() { return drop_files_text(current_drop(), narrow_names); }
