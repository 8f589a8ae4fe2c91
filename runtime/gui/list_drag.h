// Reordering a list's rows by dragging one, for every back end: which row is
// lifted, where it would go, how fast the rows scroll near an edge, and the
// event its release queues. A back end feeds it the pointer's place in the
// list's shown area and draws what it says (list_native.h).
#pragma once

struct GadgetRecord;

// Kept in each back end's list record.
struct ListDrag {
    bool enabled;   // gadget_reorder_enable
    int from;       // the lifted row; -1 while no row is lifted
    int gap;        // where it would go: before row gap (the row count: after the last); -1 none shown
    int pointer_y;  // the pointer's last place, from the top of the shown rows
};

inline constexpr int LIST_DRAG_SCROLL_MILLISECONDS = 50;  // one auto-scroll step

// A press on the row went past the drag threshold: true when the row is
// lifted (the list lets its rows be reordered and the row exists).
bool list_drag_lift(GadgetRecord& list, ListDrag& drag, int row);
bool list_drag_lifted(const ListDrag& drag);
// The pointer moved to y (from the top of the shown rows, outside them too).
void list_drag_follow(GadgetRecord& list, ListDrag& drag, int y);
// One step of auto-scroll, due every LIST_DRAG_SCROLL_MILLISECONDS while a
// row is lifted: false once no row is (the back end's timer stops).
bool list_drag_scroll(GadgetRecord& list, ListDrag& drag);
// The button came up, over the list or outside it: a row released over the
// list at another place queues GADGET_ITEM_MOVED.
void list_drag_release(GadgetRecord& list, ListDrag& drag, bool over_list);
// Escape, another grab of the pointer, the program changing the rows.
void list_drag_cancel(GadgetRecord& list, ListDrag& drag);
