// The GTK gadget record, private to the GTK gadget code; the generic
// operations (runtime/gui/gadget_operations.cpp) call the kind's entries.
#pragma once

#include <gtk/gtk.h>

#include <cstdint>

#include "runtime/core/object_table.h"
#include "runtime/gui/gadget_kind.h"
#include "runtime/gui/list_drag.h"

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
    // A list row being dragged to another place, and its auto-scroll timer (0: none).
    ListDrag drag;
    guint drag_scroll;
    // The list row read last (-1: none since the rows last moved) and where it is.
    int read_row;
    GtkTreeIter read_iter;
};

// The entries of a kind that only this back end calls.
struct GadgetNative {
    // What the widget's destruction leaves to the kind.
    void (*release)(GadgetRecord& gadget) = nullptr;
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
// The number a gadget was registered under.
ObjectNumber gadget_number_of(const GadgetRecord& gadget);
// Queues EVENT_GADGET for the gadget unless the runtime itself is changing it.
void gadget_post(const GadgetRecord& gadget, int subtype);
