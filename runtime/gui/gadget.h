// Gadgets: numbered child controls in the runtime's windows. A new gadget goes
// into the calling thread's current gadget parent (the window last opened).
// Unknown numbers, or a kind without the operation: getters return 0, setters
// do nothing. Notifications arrive as EVENT_GADGET.
#pragma once

#include <cstdint>

#include "runtime/core/object_table.h"

inline constexpr int GADGET_KIND_LIST = 6;
inline constexpr int GADGET_KIND_SLIDER = 17;

inline constexpr int GADGET_COLOR_FRONT = 1;
inline constexpr int GADGET_COLOR_BACK = 2;

inline constexpr int GADGET_MARK_NONE = 0;     // drawn as any row
inline constexpr int GADGET_MARK_NOTICE = 1;   // worth a look (plays, but not as written)
inline constexpr int GADGET_MARK_PROBLEM = 2;  // will not work as written

inline constexpr int GADGET_ATTRIBUTE_MINIMUM = 1;
inline constexpr int GADGET_ATTRIBUTE_MAXIMUM = 2;

bool gadget_init();  // start-up (after the window library): table, font, common controls
void gadget_end();   // end: the thread's tool-tip window

// Results: the native handle (the new number for DYNAMIC_ID), 0 on failure,
// also while another thread is making a gadget under that number.
std::intptr_t gadget_list_view(ObjectNumber number, int x, int y, int width, int height, int flags = 0);
std::intptr_t gadget_track_bar(ObjectNumber number, int x, int y, int width, int height,
                               int minimum, int maximum, int flags = 0);

int gadget_state_get(ObjectNumber number);
void gadget_state_set(ObjectNumber number, int state);
// Texts are built at the text builder's current position; where there is no
// such gadget or item they are empty, never null.
// The text of the current item; set: select the item with exactly that text.
char16_t* gadget_text_get(ObjectNumber number);
void gadget_text_set(ObjectNumber number, const char16_t* text);
// Inserts at the position, -1 appends. Result: 0.
int gadget_item_add(ObjectNumber number, int position, const char16_t* text);
// Appends the count texts in order, as gadget_item_add(number, -1, text) does
// each, looking the gadget up once: for lists filled with thousands of rows.
// No texts, or a count below 1, append nothing.
void gadget_items_append(ObjectNumber number, const char16_t* const* texts, int count);
void gadget_item_remove(ObjectNumber number, int item);
void gadget_clear(ObjectNumber number);
int gadget_item_count(ObjectNumber number);
char16_t* gadget_item_text_get(ObjectNumber number, int item, int column = 0);
void gadget_item_text_set(ObjectNumber number, int item, const char16_t* text, int column = 0);
int gadget_item_state_get(ObjectNumber number, int item);
void gadget_item_state_set(ObjectNumber number, int item, int state);
// A list row's mark: the row is drawn in the mark's colour (chosen by the
// runtime to read well on the system's window colours, the selected row keeps
// the system's selection colours) and, while the pointer rests on a marked
// row, its tip shows as the row's tool tip (nullptr or "" for none). Marks
// belong to their rows: they move with inserted and removed rows, and clear
// or removal drops them. An unknown number or row does nothing; get answers
// GADGET_MARK_NONE.
void gadget_item_mark_set(ObjectNumber number, int item, int mark, const char16_t* tip = nullptr);
int gadget_item_mark_get(ObjectNumber number, int item);
// Moves a list row, with its item data and mark, to stand at index to; the
// selection stays with the rows. Rows that do not exist change nothing.
void gadget_item_move(ObjectNumber number, int from, int to);
// Lets the person reorder a list's rows (1) or not (0, as made): a row pressed
// and dragged past the drag threshold is lifted, a mark between rows follows
// the pointer, the rows scroll while it rests near the list's top or bottom
// edge, and the release over the list queues EVENT_GADGET GADGET_ITEM_MOVED.
// Escape, a release outside the list or the program changing the rows
// meanwhile cancels it. The drag start is reported as before.
void gadget_reorder_enable(ObjectNumber number, int enabled);
std::intptr_t gadget_item_data_get(ObjectNumber number, int item);
void gadget_item_data_set(ObjectNumber number, int item, std::intptr_t value);
int gadget_attribute_get(ObjectNumber number, int attribute);
void gadget_attribute_set(ObjectNumber number, int attribute, int value);
void gadget_color_set(ObjectNumber number, int colour_type, int colour);
int gadget_color_get(ObjectNumber number, int colour_type);
void gadget_resize(ObjectNumber number, int x, int y, int width, int height);  // IGNORE_VALUE keeps
void gadget_tooltip(ObjectNumber number, const char16_t* text);
std::intptr_t gadget_handle(ObjectNumber number);
// Stops (0) or resumes (1) drawing while many items change; resuming redraws
// the gadget once.
void gadget_redraw(ObjectNumber number, int enabled);
