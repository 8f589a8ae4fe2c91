// The gadget record and the table of operations every gadget kind provides.
// Private to the GTK gadget code: generic operations in gadget.cpp look a
// gadget up and call its kind's entry; an empty entry makes the operation a
// no-op returning 0. Only the entries of the kinds this back end has are here.
#pragma once

#include <gtk/gtk.h>

#include <cstdint>

#include "runtime/core/object_table.h"

struct GadgetKind;

struct GadgetRecord {
    GtkWidget* handle;  // the widget placed in the window; null = entry free
    const GadgetKind* kind;
    GtkWidget* control;  // the widget that does the work (the list's tree view), or handle
    GtkListStore* store;  // the list's rows: text, item data
    GtkCssProvider* colours;  // the front and back colours' style, or none
    int back_colour;          // -1 = default
    int front_colour;         // -1 = default
    int busy;                 // > 0 while the runtime itself changes the control: no events
    // A left press on a list row waiting to become a click or a drag start.
    bool pressed;
    double press_x;
    double press_y;
    // The list row read last (-1: none since the rows last moved) and where it is.
    int read_row;
    GtkTreeIter read_iter;
};

struct GadgetKind {
    int kind;
    int (*state_get)(GadgetRecord& gadget);
    void (*state_set)(GadgetRecord& gadget, int state);
    char16_t* (*text_get)(GadgetRecord& gadget, int position);
    void (*text_set)(GadgetRecord& gadget, const char16_t* text);
    void (*item_add)(GadgetRecord& gadget, int position, const char16_t* text);
    void (*item_remove)(GadgetRecord& gadget, int item);
    void (*clear)(GadgetRecord& gadget);
    int (*item_count)(GadgetRecord& gadget);
    int (*item_state_get)(GadgetRecord& gadget, int item);
    void (*item_state_set)(GadgetRecord& gadget, int item, int state);
    char16_t* (*item_text_get)(GadgetRecord& gadget, int item, int column, int position);
    void (*item_text_set)(GadgetRecord& gadget, int item, const char16_t* text, int column);
    int (*attribute_get)(GadgetRecord& gadget, int attribute);
    void (*attribute_set)(GadgetRecord& gadget, int attribute, int value);
    void (*color_set)(GadgetRecord& gadget, int colour_type, int colour);
    int (*color_get)(GadgetRecord& gadget, int colour_type);
    void (*item_data_set)(GadgetRecord& gadget, int item, std::intptr_t value);
    std::intptr_t (*item_data_get)(GadgetRecord& gadget, int item);
};

// Puts the widget into the calling thread's gadget parent at the runtime's
// pixel position and size and registers it under the number (or a new one
// for DYNAMIC_ID). control: the widget whose operations the kind uses.
// Returns the registered record, or nullptr (the widget destroyed, the number
// left free) when there is no gadget parent.
GadgetRecord* gadget_create(ObjectNumber number, const GadgetKind& kind, GtkWidget* widget, GtkWidget* control,
                            int x, int y, int width, int height);
// The live gadget whose handle is this widget, or nullptr.
GadgetRecord* gadget_of_widget(GtkWidget* handle);
// What a creator returns: the new number for DYNAMIC_ID, else the handle.
std::intptr_t gadget_creation_result(ObjectNumber requested, const GadgetRecord& gadget);
// An empty text at the text builder position, for texts that do not exist.
char16_t* gadget_empty_text(int position);
// The number a gadget was registered under.
ObjectNumber gadget_number_of(const GadgetRecord& gadget);
// Queues EVENT_GADGET for the gadget unless the runtime itself is changing it.
void gadget_post(const GadgetRecord& gadget, int subtype);
