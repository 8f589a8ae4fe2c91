// The drop events a test produced, as the program reads them, for the drop
// tests of every back end.
#pragma once

#include <string>
#include <vector>

#include "runtime/gui/drop.h"
#include "runtime/gui/event.h"
#include "runtime/text/text.h"
#include "tests/support/drop_blocks.h"

// A drop event with what it carried.
struct SeenDrop {
    int kind;
    ObjectNumber object;
    ObjectNumber window;
    int subtype;
    bool has_record;
    DropRecord record;  // data points at released memory once read: see bytes
    Bytes bytes;
    std::u16string files;
    int live_records;  // while the event was the current one
};

// The current event's files as the program reads them, "" when none.
inline std::u16string dropped_files() {
    const char16_t* files = event_drop_files();
    return files ? files : u"";
}

// Every event until none came for a moment; the drop events among them.
inline std::vector<SeenDrop> drop_events() {
    std::vector<SeenDrop> seen;
    for (int kind = event_wait_timeout(300); kind != EVENT_NONE; kind = event_wait_timeout(300)) {
        if (kind != EVENT_GADGET_DROP && kind != EVENT_WINDOW_DROP) continue;
        SeenDrop drop{kind, event_gadget(), event_window(), event_subtype(), false, {}, {}, {},
                      drop_record_live_count()};
        if (const auto* record = static_cast<const DropRecord*>(event_data())) {
            drop.has_record = true;
            drop.record = *record;
            const auto* data = static_cast<const unsigned char*>(record->data);
            if (data) drop.bytes.assign(data, data + record->size);
        }
        const int mark = text_builder_mark();
        drop.files = dropped_files();
        text_builder_rewind(mark);
        seen.push_back(drop);
    }
    return seen;
}

// The kind of the next drop event, waiting up to that many tenths of a
// second; 0 if none came.
inline int next_drop(int tenths) {
    for (int i = 0; i < tenths; ++i) {
        const int kind = event_wait_timeout(100);
        if (kind == EVENT_GADGET_DROP || kind == EVENT_WINDOW_DROP) return kind;
    }
    return 0;
}
