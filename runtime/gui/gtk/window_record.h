// The GTK window table, private to the window and event code.
#pragma once

#include <gtk/gtk.h>

#include "runtime/core/object_table.h"
#include "runtime/gui/window_shortcuts.h"

struct WindowRecord {
    GtkWidget* handle;            // the GtkWindow; null = entry free
    GtkWidget* content;           // the fixed-position container gadgets go into
    GtkCssProvider* background;   // the colour's style, or none
    int colour;                   // 0x00BBGGRR; -1 = theme default
    // Size limits as inner sizes; 0 = none.
    int min_width;
    int min_height;
    int max_width;
    int max_height;
    // The last size and position reported, so that only changes become events.
    int width;
    int height;
    int x;
    int y;
    bool minimized_or_maximized;  // so that leaving either state is a restore
    ShortcutTable shortcuts;
};

ObjectTable<WindowRecord>& window_table();

// Connects the signals that become the window's events.
void window_signals_connect(GtkWidget* window, ObjectNumber number);
// Has the window's shortcuts looked for in each key it gets, before the
// control with the focus sees the key.
void window_shortcuts_connect(GtkWidget* window, ObjectNumber number);
// Has the pointer's motion over the runtime's windows, and its leaving them,
// queued as events, whichever widget the motion goes to.
void pointer_events_watch();
