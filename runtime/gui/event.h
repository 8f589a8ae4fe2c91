// Events: every window message that matters becomes a numbered event kind with
// an object number, a window number and a subtype. The program reads them one
// at a time with event_wait. Queued events (EventQueue) always come before new
// platform messages; identical consecutive queued events collapse into one,
// except drops, moved rows and menu events.
#pragma once

#include <cstdint>

#include "runtime/core/object_table.h"

inline constexpr int EVENT_NONE = 0;
inline constexpr int EVENT_MOVE_WINDOW = 3;
inline constexpr int EVENT_SIZE_WINDOW = 5;
inline constexpr int EVENT_REPAINT = 15;
inline constexpr int EVENT_CLOSE_WINDOW = 16;
inline constexpr int EVENT_GADGET = 13100;
inline constexpr int EVENT_MENU = 13101;
inline constexpr int EVENT_TRAY_ICON = 13102;
inline constexpr int EVENT_ACTIVATE_WINDOW = 13104;
inline constexpr int EVENT_WINDOW_DROP = 13105;
inline constexpr int EVENT_GADGET_DROP = 13106;
inline constexpr int EVENT_MINIMIZE_WINDOW = 13107;
inline constexpr int EVENT_MAXIMIZE_WINDOW = 13108;
inline constexpr int EVENT_RESTORE_WINDOW = 13109;
inline constexpr int EVENT_TIMER = 13110;
inline constexpr int EVENT_RIGHT_CLICK = 13111;
inline constexpr int EVENT_LEFT_CLICK = 13112;
inline constexpr int EVENT_LEFT_DOUBLE_CLICK = 13113;
inline constexpr int EVENT_DEACTIVATE_WINDOW = 13114;

// Native messages the reference platform returns as their own numbers, which
// every back end reports: the pointer moving over a window (also over its
// gadgets), and leaving it. Their subtype is -1.
inline constexpr int EVENT_POINTER_MOVE = 512;
inline constexpr int EVENT_POINTER_LEAVE = 675;

// Gadget event subtypes shared by kinds.
inline constexpr int GADGET_DOUBLE_CLICK = 2;
inline constexpr int GADGET_DRAG_START = 14002;
// A list row dragged to another place (gadget_reorder_enable); the list's
// rows are as they were until the program moves them (event_item_from, _to).
inline constexpr int GADGET_ITEM_MOVED = 14003;

// Releases the data attached to a queued event, at the next wait.
using EventDataRelease = void (*)(void* data);

bool event_init();  // start-up: the queue, its lock and the main thread's state
void event_end();   // end: frees the thread's pending event data

int event_wait();
int event_wait_timeout(int milliseconds);  // -1 for ever, 0 no wait; 0 = nothing
ObjectNumber event_gadget();
ObjectNumber event_menu_item();
ObjectNumber event_window();
int event_subtype();  // the current event's subtype (-1 for most immediate events)
// The data attached to the current event (a drop's DropRecord), nullptr when
// none; valid until the next wait.
void* event_data();

// The current GADGET_ITEM_MOVED event's row, and the place it goes (its index
// once moved); -1 for any other event.
int event_item_from();
int event_item_to();

// Queue an event (any thread); dropped when identical to the last queued one,
// unless it is a drop, a moved row or a menu event.
void event_post(int kind, ObjectNumber object, ObjectNumber window, int subtype,
                void* data = nullptr, EventDataRelease release = nullptr);
void event_purge_window(ObjectNumber window);
// Removes queued events whose kind and object match; -1 matches anything.
void event_purge_gadget(int kind, ObjectNumber object);
