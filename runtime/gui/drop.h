// Drops: windows and gadgets accept data dragged from other programs (files
// from the desktop's file manager). A registered target decides during the
// drag whether it takes the data and with which action, marks the row under
// the pointer, and on the drop hands a copy of the data to the event queue:
// EVENT_WINDOW_DROP for a window, EVENT_GADGET_DROP for a gadget. The copy
// lives until the next event_wait.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/core/object_table.h"

// Data formats: the platform's clipboard format numbers.
inline constexpr int DROP_FORMAT_TEXT = 1;  // enables the three text forms 1, 7 and 13
inline constexpr int DROP_FORMAT_FILES = 15;
inline constexpr int DROP_FORMAT_PRIVATE = 512;  // data begins with a 32-bit private type

// Actions (combinable); 0 withdraws a format.
inline constexpr int DROP_ACTION_COPY = 1;
inline constexpr int DROP_ACTION_MOVE = 2;
inline constexpr int DROP_ACTION_LINK = 4;

// Handed over with a drop event.
struct DropRecord {
    std::int32_t format;
    std::int32_t private_type;  // 0 unless format is DROP_FORMAT_PRIVATE
    std::int32_t action;        // the one action chosen
    std::int32_t x;             // drop point, client coordinates of the target
    std::int32_t y;
    void* data;                 // the dropped data; none for a private type
    std::size_t size;           // its size in bytes
};

bool drop_init();  // start-up, before any drop_enable: the platform's OLE
void drop_end();

// owner_kind: 0 for a window, else the gadget's kind (GADGET_KIND_LIST, ...);
// handle: the native window to register. Enabling a format again updates its
// actions. Format 0 does nothing. Failures leave the window without drops.
void drop_enable(ObjectNumber number, int owner_kind, std::intptr_t handle, int format, int actions,
                 int private_type);
void window_drop_enable(ObjectNumber window, int format, int actions, int private_type = 0);
// Also puts overlapping check boxes, radio buttons and group boxes behind the
// gadget, so that they do not take its drops.
void gadget_drop_enable(ObjectNumber gadget, int format, int actions);

// The current drop event's file names joined by LF (no trailing separator),
// built at the text builder's current position; empty when the event carries
// no file list, or a malformed one.
char16_t* event_drop_files();

// DropRecords made and not yet released (leak checks).
int drop_record_live_count();
