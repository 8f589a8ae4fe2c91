// The generic gadget operations, for every back end: each looks the gadget
// up under the table's lock and calls its kind's entry; 0 (or an empty text)
// when there is no such gadget or the kind has no such entry.
#include "runtime/gui/gadget.h"
#include "runtime/gui/gadget_kind.h"
#include "runtime/text/text.h"

char16_t* gadget_empty_text(int position) {
    char16_t* text = text_builder_reserve(0, position);
    *text = u'\0';
    return text;
}

int gadget_kind_of(ObjectNumber number) {
    std::lock_guard guard(gadget_table_lock());
    GadgetRecord* gadget = nullptr;
    const GadgetKind* kind = gadget_lookup(number, &gadget);
    return kind ? kind->kind : 0;
}

int gadget_state_get(ObjectNumber number) {
    std::lock_guard guard(gadget_table_lock());
    GadgetRecord* gadget = nullptr;
    const GadgetKind* kind = gadget_lookup(number, &gadget);
    return kind && kind->state_get ? kind->state_get(*gadget) : 0;
}

void gadget_state_set(ObjectNumber number, int state) {
    std::lock_guard guard(gadget_table_lock());
    GadgetRecord* gadget = nullptr;
    const GadgetKind* kind = gadget_lookup(number, &gadget);
    if (kind && kind->state_set) kind->state_set(*gadget, state);
}

char16_t* gadget_text_get(ObjectNumber number) {
    std::lock_guard guard(gadget_table_lock());
    GadgetRecord* gadget = nullptr;
    const GadgetKind* kind = gadget_lookup(number, &gadget);
    if (kind && kind->text_get) return kind->text_get(*gadget, -1);
    return gadget_empty_text(-1);
}

void gadget_text_set(ObjectNumber number, const char16_t* text) {
    std::lock_guard guard(gadget_table_lock());
    GadgetRecord* gadget = nullptr;
    const GadgetKind* kind = gadget_lookup(number, &gadget);
    if (kind && kind->text_set) kind->text_set(*gadget, text);
}

namespace {

void add_item(const GadgetKind& kind, GadgetRecord& gadget, int position, const char16_t* text) {
    if (kind.item_add_image) kind.item_add_image(gadget, position, text, 0, 0);
    else if (kind.item_add) kind.item_add(gadget, position, text, 0);
}

}  // namespace

int gadget_item_add(ObjectNumber number, int position, const char16_t* text) {
    std::lock_guard guard(gadget_table_lock());
    GadgetRecord* gadget = nullptr;
    const GadgetKind* kind = gadget_lookup(number, &gadget);
    if (kind) add_item(*kind, *gadget, position, text);
    return 0;
}

void gadget_items_append(ObjectNumber number, const char16_t* const* texts, int count) {
    std::lock_guard guard(gadget_table_lock());
    GadgetRecord* gadget = nullptr;
    const GadgetKind* kind = gadget_lookup(number, &gadget);
    if (!kind || !texts) return;
    for (int i = 0; i < count; ++i) add_item(*kind, *gadget, -1, texts[i]);
}

void gadget_item_remove(ObjectNumber number, int item) {
    std::lock_guard guard(gadget_table_lock());
    GadgetRecord* gadget = nullptr;
    const GadgetKind* kind = gadget_lookup(number, &gadget);
    if (kind && kind->item_remove) kind->item_remove(*gadget, item);
}

void gadget_clear(ObjectNumber number) {
    std::lock_guard guard(gadget_table_lock());
    GadgetRecord* gadget = nullptr;
    const GadgetKind* kind = gadget_lookup(number, &gadget);
    if (kind && kind->clear) kind->clear(*gadget);
}

int gadget_item_count(ObjectNumber number) {
    std::lock_guard guard(gadget_table_lock());
    GadgetRecord* gadget = nullptr;
    const GadgetKind* kind = gadget_lookup(number, &gadget);
    return kind && kind->item_count ? kind->item_count(*gadget) : 0;
}

char16_t* gadget_item_text_get(ObjectNumber number, int item, int column) {
    std::lock_guard guard(gadget_table_lock());
    GadgetRecord* gadget = nullptr;
    const GadgetKind* kind = gadget_lookup(number, &gadget);
    if (kind && kind->item_text_get) return kind->item_text_get(*gadget, item, column, -1);
    return gadget_empty_text(-1);
}

void gadget_item_text_set(ObjectNumber number, int item, const char16_t* text, int column) {
    std::lock_guard guard(gadget_table_lock());
    GadgetRecord* gadget = nullptr;
    const GadgetKind* kind = gadget_lookup(number, &gadget);
    if (kind && kind->item_text_set) kind->item_text_set(*gadget, item, text, column);
}

int gadget_item_state_get(ObjectNumber number, int item) {
    std::lock_guard guard(gadget_table_lock());
    GadgetRecord* gadget = nullptr;
    const GadgetKind* kind = gadget_lookup(number, &gadget);
    return kind && kind->item_state_get ? kind->item_state_get(*gadget, item) : 0;
}

void gadget_item_state_set(ObjectNumber number, int item, int state) {
    std::lock_guard guard(gadget_table_lock());
    GadgetRecord* gadget = nullptr;
    const GadgetKind* kind = gadget_lookup(number, &gadget);
    if (kind && kind->item_state_set) kind->item_state_set(*gadget, item, state);
}

std::intptr_t gadget_item_data_get(ObjectNumber number, int item) {
    std::lock_guard guard(gadget_table_lock());
    GadgetRecord* gadget = nullptr;
    const GadgetKind* kind = gadget_lookup(number, &gadget);
    return kind && kind->item_data_get ? kind->item_data_get(*gadget, item) : 0;
}

void gadget_item_data_set(ObjectNumber number, int item, std::intptr_t value) {
    std::lock_guard guard(gadget_table_lock());
    GadgetRecord* gadget = nullptr;
    const GadgetKind* kind = gadget_lookup(number, &gadget);
    if (kind && kind->item_data_set) kind->item_data_set(*gadget, item, value);
}

void gadget_item_mark_set(ObjectNumber number, int item, int mark, const char16_t* tip) {
    if (mark < GADGET_MARK_NONE || mark > GADGET_MARK_PROBLEM) return;
    std::lock_guard guard(gadget_table_lock());
    GadgetRecord* gadget = nullptr;
    const GadgetKind* kind = gadget_lookup(number, &gadget);
    if (kind && kind->item_mark_set) kind->item_mark_set(*gadget, item, mark, tip);
}

int gadget_item_mark_get(ObjectNumber number, int item) {
    std::lock_guard guard(gadget_table_lock());
    GadgetRecord* gadget = nullptr;
    const GadgetKind* kind = gadget_lookup(number, &gadget);
    return kind && kind->item_mark_get ? kind->item_mark_get(*gadget, item) : GADGET_MARK_NONE;
}

void gadget_item_move(ObjectNumber number, int from, int to) {
    std::lock_guard guard(gadget_table_lock());
    GadgetRecord* gadget = nullptr;
    const GadgetKind* kind = gadget_lookup(number, &gadget);
    if (kind && kind->item_move) kind->item_move(*gadget, from, to);
}

void gadget_reorder_enable(ObjectNumber number, int enabled) {
    std::lock_guard guard(gadget_table_lock());
    GadgetRecord* gadget = nullptr;
    const GadgetKind* kind = gadget_lookup(number, &gadget);
    if (kind && kind->reorder_enable) kind->reorder_enable(*gadget, enabled);
}

int gadget_attribute_get(ObjectNumber number, int attribute) {
    std::lock_guard guard(gadget_table_lock());
    GadgetRecord* gadget = nullptr;
    const GadgetKind* kind = gadget_lookup(number, &gadget);
    return kind && kind->attribute_get ? kind->attribute_get(*gadget, attribute) : 0;
}

void gadget_attribute_set(ObjectNumber number, int attribute, int value) {
    std::lock_guard guard(gadget_table_lock());
    GadgetRecord* gadget = nullptr;
    const GadgetKind* kind = gadget_lookup(number, &gadget);
    if (kind && kind->attribute_set) kind->attribute_set(*gadget, attribute, value);
}

void gadget_color_set(ObjectNumber number, int colour_type, int colour) {
    std::lock_guard guard(gadget_table_lock());
    GadgetRecord* gadget = nullptr;
    const GadgetKind* kind = gadget_lookup(number, &gadget);
    if (kind && kind->color_set) kind->color_set(*gadget, colour_type, colour);
}

int gadget_color_get(ObjectNumber number, int colour_type) {
    std::lock_guard guard(gadget_table_lock());
    GadgetRecord* gadget = nullptr;
    const GadgetKind* kind = gadget_lookup(number, &gadget);
    return kind && kind->color_get ? kind->color_get(*gadget, colour_type) : 0;
}

void gadget_resize(ObjectNumber number, int x, int y, int width, int height) {
    std::lock_guard guard(gadget_table_lock());
    GadgetRecord* gadget = nullptr;
    const GadgetKind* kind = gadget_lookup(number, &gadget);
    if (!kind) return;
    if (kind->resize) {
        kind->resize(*gadget, x, y, width, height);
        return;
    }
    if (x == IGNORE_VALUE || y == IGNORE_VALUE || width == IGNORE_VALUE || height == IGNORE_VALUE) {
        const GadgetPlace place = gadget_native_place(*gadget);
        if (x == IGNORE_VALUE) x = kind->x_get ? kind->x_get(*gadget) : place.x;
        if (y == IGNORE_VALUE) y = kind->y_get ? kind->y_get(*gadget) : place.y;
        if (width == IGNORE_VALUE) width = kind->width_get ? kind->width_get(*gadget) : place.width;
        if (height == IGNORE_VALUE) height = kind->height_get ? kind->height_get(*gadget) : place.height;
    }
    gadget_native_move(*gadget, x, y, width, height);
}
