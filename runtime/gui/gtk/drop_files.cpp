// The drop service's start and end, the DropRecords handed to the event
// queue, and the file names of the current drop event.
#include <gtk/gtk.h>

#include <atomic>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "runtime/gui/drop.h"
#include "runtime/gui/drop_file_list.h"
#include "runtime/gui/gtk/drop_gtk.h"
#include "runtime/gui/gtk/event_state.h"
#include "runtime/text/text.h"

namespace {

std::atomic<int> live_records{0};

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
    const EventState& current = event_state();
    return current.release == drop_record_free ? static_cast<const DropRecord*>(current.data) : nullptr;
}

}  // namespace

DropRecord* drop_record_make(const DropRecord& fields) {
    auto* record = static_cast<DropRecord*>(std::malloc(sizeof(DropRecord)));
    if (!record) {
        std::free(fields.data);
        return nullptr;
    }
    *record = fields;
    live_records.fetch_add(1);
    return record;
}

void drop_record_free(void* data) {
    if (!data) return;
    auto* record = static_cast<DropRecord*>(data);
    std::free(record->data);
    std::free(record);
    live_records.fetch_sub(1);
}

int drop_record_live_count() { return live_records.load(); }

// GTK's drag and drop needs nothing started or ended.
bool drop_init() { return true; }
void drop_end() {}

char16_t* event_drop_files() {
    const DropRecord* record = current_drop();
    if (!record || !record->data || record->format != DROP_FORMAT_FILES) return empty_text();
    DropFileList list{};
    if (!drop_file_list_check(record->data, record->size, &list) || list.count == 0 || !list.wide)
        return empty_text();
    // Every name at most as long as the list holds it, plus one LF between names.
    const std::size_t room = list.characters + (list.count - 1);
    if (room > MAX_TEXT_CHARACTERS) return empty_text();
    const auto* bytes = static_cast<const unsigned char*>(record->data);
    char16_t* text = text_builder_reserve(static_cast<int>(room), -1);
    std::size_t written = 0;
    std::size_t at = list.first;
    for (std::size_t i = 0; i < list.count; ++i) {
        const std::size_t start = at;
        const std::size_t length = drop_file_list_next(record->data, record->size, list, &at);
        std::memcpy(text + written, bytes + start, length * sizeof(char16_t));
        written += length;
        if (i + 1 < list.count) text[written++] = u'\n';
    }
    text[written] = u'\0';
    return text;
}
