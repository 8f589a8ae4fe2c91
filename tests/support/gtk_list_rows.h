// Where a list gadget's rows are on the GTK screen, for tests that click
// them or drop onto them.
#pragma once

#include <gtk/gtk.h>

#include "runtime/core/object_table.h"

// The tree view inside the list gadget's scroller.
GtkTreeView* tree_view_of(ObjectNumber list);

// A point of a row on the screen (20 pixels into the row, half-way down);
// the row must be in view.
struct ScreenPoint {
    int x;
    int y;
};
ScreenPoint row_point(ObjectNumber list, int row);
