#include "runtime/gui/list_drag.h"

#include <algorithm>
#include <new>

#include "runtime/gui/event.h"
#include "runtime/gui/list_native.h"

namespace {

// What a GADGET_ITEM_MOVED event carries.
struct ItemMove {
    int from;
    int to;
};

void release_move(void* move) { delete static_cast<ItemMove*>(move); }

const ItemMove* current_move() {
    return event_subtype() == GADGET_ITEM_MOVED ? static_cast<const ItemMove*>(event_data()) : nullptr;
}

void show_gap(GadgetRecord& list, ListDrag& drag, int gap) {
    if (gap == drag.gap) return;
    list_native_gap_show(list, drag.gap, gap);
    drag.gap = gap;
}

// The gap nearest the pointer: a row's upper half puts it before the row.
int gap_at(GadgetRecord& list, const ListDrag& drag) {
    const ListShown shown = list_native_shown(list);
    if (shown.row_height <= 0) return -1;
    const int y = shown.top + drag.pointer_y + shown.row_height / 2;
    return std::clamp(y < 0 ? 0 : y / shown.row_height, 0, list_native_count(list));
}

void end(GadgetRecord& list, ListDrag& drag) {
    show_gap(list, drag, -1);
    drag.from = -1;
}

}  // namespace

bool list_drag_lift(GadgetRecord& list, ListDrag& drag, int row) {
    if (!drag.enabled || row < 0 || row >= list_native_count(list)) return false;
    drag.from = row;
    drag.gap = -1;
    return true;
}

bool list_drag_lifted(const ListDrag& drag) { return drag.from >= 0; }

void list_drag_follow(GadgetRecord& list, ListDrag& drag, int y) {
    if (!list_drag_lifted(drag)) return;
    drag.pointer_y = y;
    show_gap(list, drag, gap_at(list, drag));
}

// Within a row of an edge one row a step, and one more for every half row
// further out, so a person who pulls far past the edge reaches the end of a
// long list in a moment.
bool list_drag_scroll(GadgetRecord& list, ListDrag& drag) {
    if (!list_drag_lifted(drag)) return false;
    const ListShown shown = list_native_shown(list);
    if (shown.row_height <= 0) return true;
    const int half = std::max(1, shown.row_height / 2);
    const int above = shown.row_height - drag.pointer_y;
    const int below = drag.pointer_y - (shown.height - shown.row_height);
    const int rows = above > 0 ? -((above + half - 1) / half) : below > 0 ? (below + half - 1) / half : 0;
    if (rows == 0) return true;
    list_native_scroll(list, rows);
    show_gap(list, drag, gap_at(list, drag));
    return true;
}

void list_drag_release(GadgetRecord& list, ListDrag& drag, bool over_list) {
    if (!list_drag_lifted(drag)) return;
    const int from = drag.from;
    const int gap = over_list ? gap_at(list, drag) : -1;
    end(list, drag);
    if (gap < 0 || gap == from || gap == from + 1 || from >= list_native_count(list)) return;
    auto* move = new (std::nothrow) ItemMove{from, gap > from ? gap - 1 : gap};
    if (move) list_native_post(list, GADGET_ITEM_MOVED, move, release_move);
}

void list_drag_cancel(GadgetRecord& list, ListDrag& drag) {
    if (list_drag_lifted(drag)) end(list, drag);
}

int event_item_from() {
    const ItemMove* move = current_move();
    return move ? move->from : -1;
}

int event_item_to() {
    const ItemMove* move = current_move();
    return move ? move->to : -1;
}
