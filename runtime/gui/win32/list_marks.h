// A list's row marks under Windows. The list box keeps one data value per
// row, which belongs to the program, so the marks are kept beside its rows,
// from the first marked row on, and moved along as rows come and go. The
// list is owner-drawn: each row is drawn here, a marked one in its mark's
// colour; a marked row's tip is a tracking tool tip shown while the pointer
// rests on the row.
#pragma once

#include <windows.h>

struct GadgetRecord;

// The list's rows changed: one was inserted at row, removed at row, or all went.
void list_marks_row_added(GadgetRecord& list, int row);
void list_marks_row_removed(GadgetRecord& list, int row);
void list_marks_cleared(GadgetRecord& list);
// A row moved from one index to another.
void list_marks_row_moved(GadgetRecord& list, int from, int to);
// The row exists.
void list_marks_set(GadgetRecord& list, int row, int mark, const char16_t* tip);
int list_marks_get(const GadgetRecord& list, int row);
// The gadget goes: its marks and tool tip with it.
void list_marks_release(GadgetRecord& list);
// Draws one row as WM_DRAWITEM asks, as a plain list box would but in the
// row's mark's colour, with the insertion mark of a drag above it (or below
// the last row).
void list_row_draw(const GadgetRecord& list, const DRAWITEMSTRUCT& item);
// The list control's mouse messages, for the tips of marked rows.
void list_marks_mouse(HWND list, UINT message, LPARAM lparam);
