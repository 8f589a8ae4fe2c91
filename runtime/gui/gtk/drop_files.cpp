// The drop service's start and end, the DropRecords handed to the event
// queue, and the file names of the current drop event.
#include <gtk/gtk.h>

#include <atomic>
#include <cstdlib>

#include "runtime/gui/drop.h"
#include "runtime/gui/drop_files_text.h"
#include "runtime/gui/gtk/drop_gtk.h"
#include "runtime/gui/gtk/event_state.h"

namespace {

std::atomic<int> live_records{0};

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

// The lists of the X drag protocol are read into UTF-16 names: no 8-bit ones.
char16_t* event_drop_files() { return drop_files_text(current_drop(), nullptr); }
