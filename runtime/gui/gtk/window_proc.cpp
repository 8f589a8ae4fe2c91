// What a runtime window's signals become: close requests, size and position
// changes, minimizing, maximizing and restoring, drawing, gaining or losing
// the keyboard focus are queued as events, and the pointer moving over a
// window or leaving it is kept for the wait; a close request never destroys
// the window by itself.
#include <gtk/gtk.h>

#include <mutex>

#include "runtime/gui/event.h"
#include "runtime/gui/gtk/event_state.h"
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

// Minimized: that event alone. Maximized, or restored from either state:
// that event, then a size event. Leaving the minimized state changes no size,
// so that size event is queued here; a maximized or restored window's new
// size follows from the window manager and is queued when it arrives.
gboolean on_window_state(GtkWidget* widget, GdkEventWindowState* state, gpointer data) {
    constexpr auto MIN_MAX = GDK_WINDOW_STATE_ICONIFIED | GDK_WINDOW_STATE_MAXIMIZED;
    if (!(state->changed_mask & MIN_MAX)) return FALSE;
    const ObjectNumber number = number_of(data);
    auto& table = window_table();
    std::lock_guard guard(table.lock());
    WindowRecord* record = table.find(number);
    if (!record || record->handle != widget) return FALSE;
    int kind = EVENT_RESTORE_WINDOW;
    if (state->new_window_state & GDK_WINDOW_STATE_ICONIFIED) kind = EVENT_MINIMIZE_WINDOW;
    else if (state->new_window_state & GDK_WINDOW_STATE_MAXIMIZED) kind = EVENT_MAXIMIZE_WINDOW;
    else if (!record->minimized_or_maximized) return FALSE;
    record->minimized_or_maximized = kind != EVENT_RESTORE_WINDOW;
    event_post(kind, 0, number, 0);
    if (kind != EVENT_MINIMIZE_WINDOW && (state->changed_mask & GDK_WINDOW_STATE_ICONIFIED))
        event_post(EVENT_SIZE_WINDOW, 0, number, 0);
    return FALSE;
}

// Whether what is drawn lies inside one widget of the window's content: a
// gadget or toolbar drawing itself anew, which leaves the window's own
// background alone.
bool inside_one_child(GtkWidget* window, cairo_t* cairo) {
    GdkRectangle clip;
    if (!gdk_cairo_get_clip_rectangle(cairo, &clip)) return true;
    GtkWidget* content = gtk_bin_get_child(GTK_BIN(window));
    if (!content) return false;
    GList* children = gtk_container_get_children(GTK_CONTAINER(content));
    bool inside = false;
    for (GList* child = children; child && !inside; child = child->next) {
        auto* widget = GTK_WIDGET(child->data);
        int x = 0, y = 0;
        if (!gtk_widget_get_visible(widget) || !gtk_widget_translate_coordinates(widget, window, 0, 0, &x, &y))
            continue;
        const int width = gtk_widget_get_allocated_width(widget);
        const int height = gtk_widget_get_allocated_height(widget);
        inside = clip.x >= x && clip.y >= y && clip.x + clip.width <= x + width && clip.y + clip.height <= y + height;
    }
    g_list_free(children);
    return inside;
}

// A drawing of the window's background is a repaint.
gboolean on_draw(GtkWidget* window, cairo_t* cairo, gpointer data) {
    if (!inside_one_child(window, cairo)) event_post(EVENT_REPAINT, 0, number_of(data), 0);
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

// The runtime window an event's GDK window belongs to, or -1.
ObjectNumber window_number_of_event(const GdkEvent* event) {
    GdkWindow* toplevel = event->any.window ? gdk_window_get_toplevel(event->any.window) : nullptr;
    gpointer widget = nullptr;
    if (toplevel) gdk_window_get_user_data(toplevel, &widget);
    return widget ? window_number_of(GTK_WIDGET(widget)) : -1;
}

// Motion goes to the innermost widget that wants it, which may keep it (a
// list does), so it is read here, before GTK hands it on, as the reference
// platform's loop sees every mouse message. GDK holds a lone motion back
// until a frame is drawn, but the crossing into a widget comes at once: it
// counts as motion too. Leaving counts only for the top-level window itself,
// not for the pointer going into one of its gadgets.
void on_any_event(GdkEvent* event, gpointer) {
    const bool motion = event->type == GDK_MOTION_NOTIFY || event->type == GDK_ENTER_NOTIFY;
    const bool leave = event->type == GDK_LEAVE_NOTIFY && event->any.window &&
                       event->crossing.detail != GDK_NOTIFY_INFERIOR &&
                       event->any.window == gdk_window_get_toplevel(event->any.window);
    if (motion || leave) {
        const ObjectNumber number = window_number_of_event(event);
        if (number >= 0) pending_message() = {motion ? EVENT_POINTER_MOVE : EVENT_POINTER_LEAVE, number};
    }
    gtk_main_do_event(event);
}

}  // namespace

void pointer_events_watch() { gdk_event_handler_set(on_any_event, nullptr, nullptr); }

void window_signals_connect(GtkWidget* window, ObjectNumber number) {
    gpointer data = reinterpret_cast<gpointer>(number);
    gtk_widget_add_events(window, GDK_POINTER_MOTION_MASK | GDK_LEAVE_NOTIFY_MASK);
    g_signal_connect(window, "delete-event", G_CALLBACK(on_delete), data);
    g_signal_connect(window, "configure-event", G_CALLBACK(on_configure), data);
    g_signal_connect(window, "window-state-event", G_CALLBACK(on_window_state), data);
    g_signal_connect(window, "draw", G_CALLBACK(on_draw), data);
    g_signal_connect(window, "focus-in-event", G_CALLBACK(on_focus_in), data);
    g_signal_connect(window, "focus-out-event", G_CALLBACK(on_focus_out), data);
}
