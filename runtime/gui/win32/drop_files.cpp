// The drop service's start and end, the DropRecords handed to the event queue,
// and the file names of the current drop event.
#include <windows.h>
#include <ole2.h>

#include <atomic>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "runtime/gui/drop.h"
#include "runtime/gui/drop_file_list.h"
#include "runtime/gui/win32/drop_win32.h"
#include "runtime/gui/win32/event_state.h"
#include "runtime/gui/win32/gui_win32.h"
#include "runtime/text/text.h"

namespace {

std::atomic<int> live_records{0};
std::atomic<bool> ole_started{false};

// The text builder refuses (ends the process) beyond this many characters;
// a list that long is refused here instead.
constexpr std::size_t MAX_TEXT_CHARACTERS = INT_MAX / 4;

char16_t* empty_text() {
    char16_t* text = text_builder_reserve(0, -1);
    *text = u'\0';
    return text;
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

char16_t* event_drop_files() {
    const DropRecord* record = current_drop();
    if (!record || !record->data || record->format != DROP_FORMAT_FILES) return empty_text();
    DropFileList list{};
    if (!drop_file_list_check(record->data, record->size, &list) || list.count == 0) return empty_text();
    // Every name at most as long as the list holds it, plus one LF between names.
    const std::size_t room = list.characters + (list.count - 1);
    if (room > MAX_TEXT_CHARACTERS) return empty_text();

    // One pass over the checked block: asking the platform for name i walks
    // every name before it, which made large drops quadratic.
    const auto* bytes = static_cast<const unsigned char*>(record->data);
    char16_t* text = text_builder_reserve(static_cast<int>(room), -1);
    std::size_t written = 0;
    std::size_t at = list.first;
    for (std::size_t i = 0; i < list.count; ++i) {
        const std::size_t start = at;
        const std::size_t length = drop_file_list_next(record->data, record->size, list, &at);
        if (list.wide) {
            std::memcpy(text + written, bytes + start, length * sizeof(char16_t));
            written += length;
        } else if (length > 0) {
            // 8-bit names are in the system code page; they never grow in UTF-16.
            written += static_cast<std::size_t>(MultiByteToWideChar(
                CP_ACP, 0, reinterpret_cast<const char*>(bytes + start), static_cast<int>(length),
                reinterpret_cast<wchar_t*>(text + written), static_cast<int>(room - written)));
        }
        if (i + 1 < list.count && written < room) text[written++] = u'\n';
    }
    text[written] = u'\0';
    text_builder_release(static_cast<int>(room - written));
    return text;
}
