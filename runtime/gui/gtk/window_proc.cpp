// What a runtime window's signals become: close requests, size and position
// changes, and gaining or losing the keyboard focus are queued as events; a
// close request never destroys the window by itself.
#include <gtk/gtk.h>

#include <mutex>

#include "runtime/gui/event.h"
#include "runtime/gui/gtk/gui_gtk.h"
#include "runtime/gui/gtk/window_record.h"

namespace {

ObjectNumber number_of(gpointer data) { return reinterpret_cast<ObjectNumber>(data); }

gboolean on_delete(GtkWidget*, GdkEvent*, gpointer data) {
    const ObjectNumber number = number_of(data);
    event_post(EVENT_CLOSE_WINDOW, number, number, 0);
    return TRUE;
}

// The configure event gives the inner size and the position of the window.
gboolean on_configure(GtkWidget* widget, GdkEventConfigure* configure, gpointer data) {
    const ObjectNumber number = number_of(data);
    auto& table = window_table();
    std::lock_guard guard(table.lock());
    WindowRecord* record = table.find(number);
    if (!record || record->handle != widget) return FALSE;
    int x = configure->x, y = configure->y;
    gtk_window_get_position(GTK_WINDOW(widget), &x, &y);
    if (record->x != IGNORE_VALUE && (x != record->x || y != record->y))
        event_post(EVENT_MOVE_WINDOW, number, number, 0);
    record->x = x;
    record->y = y;
    if (configure->width != record->width || configure->height != record->height) {
        record->width = configure->width;
        record->height = configure->height;
        event_post(EVENT_SIZE_WINDOW, 0, number, 0);
    }
    return FALSE;
}

gboolean on_focus_in(GtkWidget*, GdkEvent*, gpointer data) {
    event_post(EVENT_ACTIVATE_WINDOW, 0, number_of(data), 0);
    return FALSE;
}

gboolean on_focus_out(GtkWidget*, GdkEvent*, gpointer data) {
    event_post(EVENT_DEACTIVATE_WINDOW, 0, number_of(data), 0);
    return FALSE;
}

}  // namespace

void window_signals_connect(GtkWidget* window, ObjectNumber number) {
    gpointer data = reinterpret_cast<gpointer>(number);
    g_signal_connect(window, "delete-event", G_CALLBACK(on_delete), data);
    g_signal_connect(window, "configure-event", G_CALLBACK(on_configure), data);
    g_signal_connect(window, "focus-in-event", G_CALLBACK(on_focus_in), data);
    g_signal_connect(window, "focus-out-event", G_CALLBACK(on_focus_out), data);
}
