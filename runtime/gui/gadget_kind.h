// The table of operations every gadget kind provides, and what each back end
// gives the generic gadget operations (gadget_operations.cpp), which look a
// gadget up under the table's lock and call its kind's entry; an empty entry
// makes the operation a no-op returning 0 (an empty text for texts). A new
// generic operation is written there once; a kind fills in its entry per back end.
#pragma once

#include <cstdint>
#include <mutex>

#include "runtime/core/object_table.h"

struct GadgetRecord;  // one gadget, as its back end keeps it
struct GadgetNative;  // a kind's entries only its back end calls (notifications, release)

// A kind names only the entries it has; the others stay empty.
struct GadgetKind {
    int kind = 0;  // GADGET_KIND_LIST, ...
    const GadgetNative* native = nullptr;
    int (*state_get)(GadgetRecord& gadget) = nullptr;
    void (*state_set)(GadgetRecord& gadget, int state) = nullptr;
    char16_t* (*text_get)(GadgetRecord& gadget, int position) = nullptr;
    void (*text_set)(GadgetRecord& gadget, const char16_t* text) = nullptr;
    // gadget_item_add takes the one with an image when a kind has both.
    void (*item_add)(GadgetRecord& gadget, int position, const char16_t* text, int flags) = nullptr;
    void (*item_add_image)(GadgetRecord& gadget, int position, const char16_t* text, std::intptr_t image,
                           int flags) = nullptr;
    void (*item_remove)(GadgetRecord& gadget, int item) = nullptr;
    void (*clear)(GadgetRecord& gadget) = nullptr;
    // Does all of gadget_resize; without it the gadget is moved natively, the
    // ignored values taken from the four getters below or where it is.
    void (*resize)(GadgetRecord& gadget, int x, int y, int width, int height) = nullptr;
    int (*item_count)(GadgetRecord& gadget) = nullptr;
    int (*item_state_get)(GadgetRecord& gadget, int item) = nullptr;
    void (*item_state_set)(GadgetRecord& gadget, int item, int state) = nullptr;
    char16_t* (*item_text_get)(GadgetRecord& gadget, int item, int column, int position) = nullptr;
    void (*item_text_set)(GadgetRecord& gadget, int item, const char16_t* text, int column) = nullptr;
    int (*x_get)(GadgetRecord& gadget) = nullptr;
    int (*y_get)(GadgetRecord& gadget) = nullptr;
    int (*width_get)(GadgetRecord& gadget) = nullptr;
    int (*height_get)(GadgetRecord& gadget) = nullptr;
    int (*attribute_get)(GadgetRecord& gadget, int attribute) = nullptr;
    void (*attribute_set)(GadgetRecord& gadget, int attribute, int value) = nullptr;
    void (*color_set)(GadgetRecord& gadget, int colour_type, int colour) = nullptr;
    int (*color_get)(GadgetRecord& gadget, int colour_type) = nullptr;
    void (*item_data_set)(GadgetRecord& gadget, int item, std::intptr_t value) = nullptr;
    std::intptr_t (*item_data_get)(GadgetRecord& gadget, int item) = nullptr;
    void (*item_mark_set)(GadgetRecord& gadget, int item, int mark, const char16_t* tip) = nullptr;
    int (*item_mark_get)(GadgetRecord& gadget, int item) = nullptr;
    void (*item_move)(GadgetRecord& gadget, int from, int to) = nullptr;
    void (*reorder_enable)(GadgetRecord& gadget, int enabled) = nullptr;
};

// An empty text at the text builder position, for texts that do not exist.
char16_t* gadget_empty_text(int position);
// The colour (0x00BBGGRR) a row of that mark is drawn in on that background:
// the mark's hue, lightened or darkened until it reads as well as text should.
int gadget_mark_colour(int mark, int background);
// The kind number of a gadget (GADGET_KIND_LIST, ...), 0 when there is none.
int gadget_kind_of(ObjectNumber number);

// Each back end's part. The gadget table's lock, held by every generic
// operation while it calls a kind's entry.
std::recursive_mutex& gadget_table_lock();
// The live gadget under the number and its kind, or nullptr; under that lock.
const GadgetKind* gadget_lookup(ObjectNumber number, GadgetRecord** gadget);
// Where the gadget stands in its window, and moving it there.
struct GadgetPlace {
    int x;
    int y;
    int width;
    int height;
};
GadgetPlace gadget_native_place(GadgetRecord& gadget);
void gadget_native_move(GadgetRecord& gadget, int x, int y, int width, int height);
