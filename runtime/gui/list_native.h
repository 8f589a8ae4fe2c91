// What each back end gives the list gadget (kind 6): its native rows,
// selection, colours, item data and marks. The kind's table and every check of a row
// index live once in list_kind.cpp; these functions are called only with a
// row that exists (or -1 where said).
#pragma once

#include <cstdint>

#include "runtime/gui/event.h"
#include "runtime/gui/gadget_kind.h"
#include "runtime/gui/list_drag.h"

// The list's kind, for the back end's gadget_list_view.
extern const GadgetKind list_kind;
// The list's entries only its back end calls.
extern const GadgetNative list_native;

int list_native_count(GadgetRecord& list);
// The selected row (the first of several), or -1.
int list_native_selected(GadgetRecord& list);
// Makes the row the selected one and brings it into view; -1 selects none.
void list_native_select(GadgetRecord& list, int row);
// Selects or deselects one row, leaving the others as the list's style wants.
void list_native_row_select(GadgetRecord& list, int row, bool selected);
bool list_native_row_selected(GadgetRecord& list, int row);
// The row's text at the text builder position; the empty text for a row not there.
char16_t* list_native_text(GadgetRecord& list, int row, int position);
bool list_native_text_is(GadgetRecord& list, int row, const char16_t* text);
// Replaces the row's text, keeping its item data.
void list_native_text_set(GadgetRecord& list, int row, const char16_t* text);
// Inserts before the row; -1 or the row count appends.
void list_native_insert(GadgetRecord& list, int row, const char16_t* text);
void list_native_remove(GadgetRecord& list, int row);
void list_native_clear(GadgetRecord& list);
// colour_type is GADGET_COLOR_FRONT or GADGET_COLOR_BACK; -1 is the default colour.
void list_native_colour_set(GadgetRecord& list, int colour_type, int colour);
int list_native_colour(GadgetRecord& list, int colour_type);
void list_native_data_set(GadgetRecord& list, int row, std::intptr_t value);
std::intptr_t list_native_data(GadgetRecord& list, int row);
// The row's mark (GADGET_MARK_*, already checked) and its tip, kept with the row.
void list_native_mark_set(GadgetRecord& list, int row, int mark, const char16_t* tip);
int list_native_mark(GadgetRecord& list, int row);

// Reordering by drag (list_drag.h).
ListDrag& list_native_drag(GadgetRecord& list);
// The shown area, in pixels: where its top lies from the top of the first
// row, its height, and a row's height (rows are of one height).
struct ListShown {
    int top;
    int height;
    int row_height;
};
ListShown list_native_shown(GadgetRecord& list);
// Scrolls by whole rows (negative: up), as far as the rows go.
void list_native_scroll(GadgetRecord& list, int rows);
// Draws the insertion mark: a line before row gap (the count: after the last),
// -1 none; old_gap is the one drawn until now.
void list_native_gap_show(GadgetRecord& list, int old_gap, int gap);
// Queues EVENT_GADGET with data for the list, from its window.
void list_native_post(GadgetRecord& list, int subtype, void* data, EventDataRelease release);
// Moves the row (from, to exist and differ) with its text, data and mark.
void list_native_move(GadgetRecord& list, int from, int to);
