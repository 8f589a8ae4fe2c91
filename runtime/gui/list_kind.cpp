// The list gadget's kind table for every back end. Every row index is checked
// here, so both back ends answer a row that does not exist alike: getters
// give 0, -1 or an empty text, setters do nothing.
#include "runtime/gui/gadget.h"
#include "runtime/gui/list_native.h"

namespace {

bool has_row(GadgetRecord& list, int row) { return row >= 0 && row < list_native_count(list); }

// A lifted row is named by its index: any change of the rows ends the drag.
void rows_change(GadgetRecord& list) { list_drag_cancel(list, list_native_drag(list)); }

bool is_colour_type(int colour_type) { return colour_type == GADGET_COLOR_FRONT || colour_type == GADGET_COLOR_BACK; }

int list_state_get(GadgetRecord& list) { return list_native_selected(list); }

// -1 selects none; an index without a row leaves the selection as it is.
void list_state_set(GadgetRecord& list, int state) {
    if (state == -1 || has_row(list, state)) list_native_select(list, state);
}

// The list itself answers for a row that is not there: a save reads every
// row, and asking for the count first would double its questions.
char16_t* list_item_text_get(GadgetRecord& list, int item, int, int position) {
    return list_native_text(list, item, position);
}

void list_item_text_set(GadgetRecord& list, int item, const char16_t* text, int) {
    if (has_row(list, item)) list_native_text_set(list, item, text ? text : u"");
}

char16_t* list_text_get(GadgetRecord& list, int position) {
    return list_item_text_get(list, list_native_selected(list), 0, position);
}

// Selects the first row whose text is the text exactly.
void list_text_set(GadgetRecord& list, const char16_t* text) {
    const int count = list_native_count(list);
    for (int row = 0; row < count; ++row) {
        if (list_native_text_is(list, row, text ? text : u"")) {
            list_native_select(list, row);
            return;
        }
    }
}

// Position -1 appends; any other position without a row before it adds nothing.
void list_item_add(GadgetRecord& list, int position, const char16_t* text, int) {
    // An append asks the list nothing: filling a list of thousands of rows
    // would ask for its count once a row.
    if (position != -1 && (position < 0 || position > list_native_count(list))) return;
    rows_change(list);
    list_native_insert(list, position, text ? text : u"");
}

void list_item_remove(GadgetRecord& list, int item) {
    if (!has_row(list, item)) return;
    rows_change(list);
    list_native_remove(list, item);
}

void list_clear(GadgetRecord& list) {
    rows_change(list);
    list_native_clear(list);
}

void list_item_move(GadgetRecord& list, int from, int to) {
    if (from == to || !has_row(list, from) || !has_row(list, to)) return;
    rows_change(list);
    list_native_move(list, from, to);
}

// Turning it off lets go of a lifted row.
void list_reorder_enable(GadgetRecord& list, int enabled) {
    ListDrag& drag = list_native_drag(list);
    if (!enabled) list_drag_cancel(list, drag);
    drag.enabled = enabled != 0;
}

int list_item_state_get(GadgetRecord& list, int item) {
    return has_row(list, item) && list_native_row_selected(list, item) ? 1 : 0;
}

void list_item_state_set(GadgetRecord& list, int item, int state) {
    if (has_row(list, item)) list_native_row_select(list, item, state != 0);
}

void list_color_set(GadgetRecord& list, int colour_type, int colour) {
    if (is_colour_type(colour_type)) list_native_colour_set(list, colour_type, colour);
}

int list_color_get(GadgetRecord& list, int colour_type) {
    return is_colour_type(colour_type) ? list_native_colour(list, colour_type) : -1;
}

void list_item_data_set(GadgetRecord& list, int item, std::intptr_t value) {
    if (has_row(list, item)) list_native_data_set(list, item, value);
}

std::intptr_t list_item_data_get(GadgetRecord& list, int item) {
    return has_row(list, item) ? list_native_data(list, item) : 0;
}

void list_item_mark_set(GadgetRecord& list, int item, int mark, const char16_t* tip) {
    if (has_row(list, item)) list_native_mark_set(list, item, mark, tip);
}

int list_item_mark_get(GadgetRecord& list, int item) {
    return has_row(list, item) ? list_native_mark(list, item) : GADGET_MARK_NONE;
}

}  // namespace

const GadgetKind list_kind = {
    .kind = GADGET_KIND_LIST,
    .native = &list_native,
    .state_get = list_state_get,
    .state_set = list_state_set,
    .text_get = list_text_get,
    .text_set = list_text_set,
    .item_add = list_item_add,
    .item_remove = list_item_remove,
    .clear = list_clear,
    .item_count = list_native_count,
    .item_state_get = list_item_state_get,
    .item_state_set = list_item_state_set,
    .item_text_get = list_item_text_get,
    .item_text_set = list_item_text_set,
    .color_set = list_color_set,
    .color_get = list_color_get,
    .item_data_set = list_item_data_set,
    .item_data_get = list_item_data_get,
    .item_mark_set = list_item_mark_set,
    .item_mark_get = list_item_mark_get,
    .item_move = list_item_move,
    .reorder_enable = list_reorder_enable,
};
