// Operations on open windows: showing, size limits, colour, size, title,
// the pointer position; and how widgets map to window numbers.
#include <gtk/gtk.h>

#include <algorithm>
#include <cstdio>
#include <mutex>

#include "runtime/gui/gtk/gui_gtk.h"
#include "runtime/gui/gtk/window_record.h"
#include "runtime/gui/window.h"

namespace {

thread_local GtkWidget* current_gadget_parent = nullptr;

GtkWidget* handle_of(ObjectNumber number) {
    WindowRecord* record = window_table().find(number);
    return record ? record->handle : nullptr;
}

// The reference platform keeps tracking limits in 16 bits.
int limit_value(int inner) { return std::clamp(inner, 0, 0xFFFF); }

void apply_limits(const WindowRecord& record) {
    GdkGeometry geometry{};
    int hints = 0;
    if (record.min_width > 0 || record.min_height > 0) {
        geometry.min_width = std::max(record.min_width, 1);
        geometry.min_height = std::max(record.min_height, 1);
        hints |= GDK_HINT_MIN_SIZE;
    }
    if (record.max_width > 0 || record.max_height > 0) {
        geometry.max_width = record.max_width > 0 ? record.max_width : G_MAXSHORT;
        geometry.max_height = record.max_height > 0 ? record.max_height : G_MAXSHORT;
        hints |= GDK_HINT_MAX_SIZE;
    }
    gtk_window_set_geometry_hints(GTK_WINDOW(record.handle), nullptr, &geometry, static_cast<GdkWindowHints>(hints));
}

// The pointer relative to the window's inner area; false when outside it.
// Under XWayland a pointer that left for a place of the compositor's without
// X windows keeps its last place, inside the window it left, but no longer
// over it: only a pointer over one of the window's own parts counts.
bool pointer_inside(GtkWidget* window, int* x, int* y) {
    GdkWindow* native = window ? gtk_widget_get_window(window) : nullptr;
    if (!native || !gtk_widget_get_visible(window)) return false;
    GdkSeat* seat = gdk_display_get_default_seat(gdk_window_get_display(native));
    GdkDevice* pointer = seat ? gdk_seat_get_pointer(seat) : nullptr;
    if (!pointer) return false;
    gdk_window_get_device_position(native, pointer, x, y, nullptr);
    GdkWindow* under = gdk_device_get_window_at_position(pointer, nullptr, nullptr);
    return under && gdk_window_get_toplevel(under) == native && *x >= 0 && *y >= 0 &&
           *x < gdk_window_get_width(native) && *y < gdk_window_get_height(native);
}

int desktop_pointer(bool want_x) {
    GdkSeat* seat = gdk_display_get_default_seat(gdk_display_get_default());
    GdkDevice* pointer = seat ? gdk_seat_get_pointer(seat) : nullptr;
    int x = 0, y = 0;
    if (pointer) gdk_device_get_position(pointer, nullptr, &x, &y);
    return want_x ? x : y;
}

// The inner size, or with inner 0 the frame's once the window is on screen.
GdkRectangle window_size(ObjectNumber number, int inner) {
    GdkRectangle size{};
    GtkWidget* window = handle_of(number);
    if (!window) return size;
    GdkWindow* native = gtk_widget_get_window(window);
    if (!inner && native) gdk_window_get_frame_extents(native, &size);
    else gtk_window_get_size(GTK_WINDOW(window), &size.width, &size.height);
    return size;
}

}  // namespace

ObjectNumber window_number_of(GtkWidget* widget) {
    GtkWidget* toplevel = widget ? gtk_widget_get_toplevel(widget) : nullptr;
    if (!toplevel) return -1;
    auto id = reinterpret_cast<ObjectNumber>(g_object_get_data(G_OBJECT(toplevel), WINDOW_ID_PROPERTY));
    return id - 1;
}

GtkWidget* window_of_handle(std::intptr_t handle) {
    GtkWidget* found = nullptr;
    window_table().for_each_live([&](ObjectNumber, const WindowRecord& record) {
        if (reinterpret_cast<std::intptr_t>(record.handle) == handle) found = record.handle;
    });
    return found;
}

void gadget_parent_set(GtkWidget* container) { current_gadget_parent = container; }
GtkWidget* gadget_parent() { return current_gadget_parent; }

void window_hide(ObjectNumber number, int hide, int flags) {
    GtkWidget* window = handle_of(number);
    if (!window) return;
    if (hide) {
        gtk_widget_hide(window);
        return;
    }
    const bool activate = (flags & WINDOW_SHOW_NO_ACTIVATE) == 0;
    gtk_window_set_focus_on_map(GTK_WINDOW(window), activate);
    gtk_widget_show(window);
    gtk_window_set_focus_on_map(GTK_WINDOW(window), TRUE);
}

void window_bounds(ObjectNumber number, int min_width, int min_height, int max_width, int max_height) {
    auto& table = window_table();
    std::lock_guard guard(table.lock());
    WindowRecord* record = table.find(number);
    if (!record) return;
    if (min_width != IGNORE_VALUE) record->min_width = limit_value(min_width);
    if (min_height != IGNORE_VALUE) record->min_height = limit_value(min_height);
    if (max_width != IGNORE_VALUE) record->max_width = limit_value(max_width);
    if (max_height != IGNORE_VALUE) record->max_height = limit_value(max_height);
    apply_limits(*record);
}

void window_color_set(ObjectNumber number, int colour) {
    auto& table = window_table();
    std::lock_guard guard(table.lock());
    WindowRecord* record = table.find(number);
    if (!record || record->colour == colour) return;
    GtkStyleContext* style = gtk_widget_get_style_context(record->handle);
    if (record->background) {
        gtk_style_context_remove_provider(style, GTK_STYLE_PROVIDER(record->background));
        g_object_unref(record->background);
        record->background = nullptr;
    }
    record->colour = colour;
    if (colour != -1) {
        char css[64];
        std::snprintf(css, sizeof css, "window { background-color: #%02x%02x%02x; background-image: none; }",
                      colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
        record->background = gtk_css_provider_new();
        gtk_css_provider_load_from_data(record->background, css, -1, nullptr);
        gtk_style_context_add_provider(style, GTK_STYLE_PROVIDER(record->background),
                                       GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    }
    gtk_widget_queue_draw(record->handle);
}

std::intptr_t window_handle(ObjectNumber number) { return reinterpret_cast<std::intptr_t>(handle_of(number)); }

int window_width(ObjectNumber number, int inner) { return window_size(number, inner).width; }

int window_height(ObjectNumber number, int inner) { return window_size(number, inner).height; }

void window_title_set(ObjectNumber number, const char16_t* title) {
    GtkWidget* window = handle_of(number);
    if (window && title) gtk_window_set_title(GTK_WINDOW(window), utf8_of(title).c_str());
}

int window_mouse_x(ObjectNumber number) {
    int x, y;
    return pointer_inside(handle_of(number), &x, &y) ? x : -1;
}

int window_mouse_y(ObjectNumber number) {
    int x, y;
    return pointer_inside(handle_of(number), &x, &y) ? y : -1;
}

int desktop_mouse_x() { return desktop_pointer(true); }
int desktop_mouse_y() { return desktop_pointer(false); }
