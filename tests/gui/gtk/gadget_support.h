// What the GTK gadget tests look at past the runtime: the test's window, and
// the desktop and list rows as the screen shows them.
#pragma once

#include <gtk/gtk.h>

#include "runtime/gui/window.h"
#include "tests/gui/gadget_window.h"
#include "tests/support/gtk_desktop.h"
#include "tests/support/gtk_list_rows.h"

inline GtkWidget* test_window() { return reinterpret_cast<GtkWidget*>(window_handle(GadgetWindowTest::WINDOW)); }
