// Opening and closing numbered top-level windows, and the window library's
// start and end.
#include <gtk/gtk.h>

#include <algorithm>
#include <mutex>
#include <string>

#include "runtime/gui/event.h"
#include "runtime/gui/gtk/event_state.h"
#include "runtime/gui/gtk/gui_gtk.h"
#include "runtime/gui/gtk/window_record.h"
#include "runtime/gui/window.h"
#include "runtime/gui/window_placement.h"
#include "runtime/image/image.h"

namespace {

// The native style bits of the reference platform that the program passes.
constexpr std::uint32_t STYLE_CAPTION = 0xC00000;
constexpr std::uint32_t STYLE_SIZEABLE = 0x40000;
constexpr std::uint32_t STYLE_MAXIMIZE = 0x1000000;
constexpr std::uint32_t STYLE_MINIMIZE = 0x20000000;
constexpr std::uint32_t RUNTIME_FLAG_BITS =
    WINDOW_CENTERED | WINDOW_CENTERED_ON_PARENT | WINDOW_TOOL | WINDOW_NOT_GADGET_PARENT | WINDOW_HIDDEN;

void release_window(ObjectNumber number) { window_close(number); }

// The program's icon, GTK's counterpart of icon resource 1 on Windows: the PNG
// images under this folder of the program's GLib resources
// (resources/tunelathe.gresource.xml, registered when the program loads).
constexpr char ICON_RESOURCES[] = "/tunelathe/icon/";

// Makes them into pixbufs through the image family (its table and the PNG
// decoder are ready before the windows) and gives them to every window opened
// from now on, the requesters' dialogs too. A program without them, such as a
// test, keeps GTK's default.
void default_icon_load() {
    char** names = g_resources_enumerate_children(ICON_RESOURCES, G_RESOURCE_LOOKUP_FLAGS_NONE, nullptr);
    if (!names) return;
    GList* icons = nullptr;
    for (char** name = names; *name; ++name) {
        GBytes* bytes = g_resources_lookup_data((std::string(ICON_RESOURCES) + *name).c_str(),
                                                G_RESOURCE_LOOKUP_FLAGS_NONE, nullptr);
        if (!bytes) continue;
        gsize size = 0;
        const void* data = g_bytes_get_data(bytes, &size);
        if (const std::intptr_t image = image_catch(DYNAMIC_ID, data, size)) {
            auto* pixbuf = reinterpret_cast<GdkPixbuf*>(image_record(image).handle);
            icons = g_list_append(icons, g_object_ref(pixbuf));
            image_free(image);
        }
        g_bytes_unref(bytes);
    }
    g_strfreev(names);
    if (icons) gtk_window_set_default_icon_list(icons);
    g_list_free_full(icons, g_object_unref);
}

ScreenRect screen_area() {
    GdkDisplay* display = gdk_display_get_default();
    GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
    if (!monitor) monitor = gdk_display_get_monitor(display, 0);
    GdkRectangle area{0, 0, 0, 0};
    if (monitor) gdk_monitor_get_geometry(monitor, &area);
    return {area.x, area.y, area.width, area.height};
}

bool outer_rect(GtkWidget* window, ScreenRect* rect) {
    GdkWindow* native = gtk_widget_get_window(window);
    if (!native || !gtk_widget_get_visible(window)) return false;
    GdkRectangle frame;
    gdk_window_get_frame_extents(native, &frame);
    *rect = {frame.x, frame.y, frame.width, frame.height};
    return true;
}

// The window to centre on: the parent given, else the active runtime window.
bool centring_reference(GtkWidget* parent, ScreenRect* rect) {
    if (parent) return outer_rect(parent, rect);
    bool found = false;
    GList* toplevels = gtk_window_list_toplevels();
    for (GList* item = toplevels; item && !found; item = item->next) {
        auto* window = GTK_WIDGET(item->data);
        found = gtk_window_is_active(GTK_WINDOW(window)) && window_number_of(window) >= 0 &&
                outer_rect(window, rect);
    }
    g_list_free(toplevels);
    return found;
}

WindowPlacement place(GtkWindow* window, int x, int y, int inner_width, int inner_height, std::uint32_t flags,
                      GtkWidget* parent) {
    const ScreenRect screen = screen_area();
    ScreenRect reference{};
    const bool has_reference = (flags & WINDOW_CENTERED_ON_PARENT) && centring_reference(parent, &reference);
    // Before it is mapped a window's frame is unknown: inner and outer size agree.
    const WindowPlacement placement = window_place(x, y, window_side(inner_width), window_side(inner_height), flags,
                                                   screen.width, screen.height, has_reference ? &reference : nullptr);
    if (!placement.default_position) gtk_window_move(window, placement.x, placement.y);
    return placement;
}

// No window manager hands the keyboard to a window it does not manage, so a
// pop-up takes it whenever it is shown, as an owned pop-up is activated on
// the reference platform, and gives it back when it is hidden or closed.
gboolean keyboard_take(GtkWidget* popup, GdkEvent*, gpointer) {
    GdkWindow* native = gtk_widget_get_window(popup);
    gdk_seat_grab(gdk_display_get_default_seat(gdk_window_get_display(native)), native, GDK_SEAT_CAPABILITY_KEYBOARD,
                  FALSE, nullptr, nullptr, nullptr, nullptr);
    return FALSE;
}

void keyboard_give_back(GtkWidget* popup, gpointer) {
    gdk_seat_ungrab(gdk_display_get_default_seat(gtk_widget_get_display(popup)));
}

}  // namespace

ObjectTable<WindowRecord>& window_table() {
    static ObjectTable<WindowRecord> table(16, release_window);
    return table;
}

bool window_init() {
    // In a Wayland session GTK would speak Wayland, where a window cannot be
    // placed (the volume pop-up under the pointer) and the pointer is known
    // only over the program's own surfaces. The session's X server (XWayland)
    // has neither limit, so it comes first; without one, Wayland it is.
    // GDK_BACKEND still chooses, for whoever sets it.
    gdk_set_allowed_backends("x11,*");
    if (!gtk_init_check(nullptr, nullptr)) return false;
    pointer_events_watch();
    default_icon_load();
    return true;
}

std::intptr_t window_open(ObjectNumber number, int x, int y, int inner_width, int inner_height,
                          const char16_t* title, std::uint32_t flags, std::intptr_t parent) {
    auto& table = window_table();
    std::lock_guard guard(table.lock());
    WindowRecord* record = table.acquire(number);
    if (!record) return 0;
    const ObjectNumber id = table.number_of(record);
    // A parent is one of the open windows; any other handle (a closed
    // window's, a made-up one) is no window at all and fails the open.
    GtkWidget* parent_widget = window_of_handle(parent);
    if (parent && !parent_widget) {
        table.release(id);
        return 0;
    }

    const std::uint32_t style = flags & ~RUNTIME_FLAG_BITS;
    // Nothing but placement flags, or a tool window: an ordinary window with a title bar.
    const bool caption = style == 0 || (flags & WINDOW_TOOL) || (style & STYLE_CAPTION) == STYLE_CAPTION;
    // A window without a caption that belongs to another (the volume pop-up)
    // is a pop-up that no window manager places or frames: one that does
    // (weston's for XWayland) would put it elsewhere than under the pointer.
    const bool popup = parent_widget && !caption;
    GtkWidget* widget = gtk_window_new(popup ? GTK_WINDOW_POPUP : GTK_WINDOW_TOPLEVEL);
    auto* window = GTK_WINDOW(widget);
    gtk_window_set_decorated(window, caption);
    gtk_window_set_title(window, utf8_of(title).c_str());
    if (flags & WINDOW_TOOL) gtk_window_set_type_hint(window, GDK_WINDOW_TYPE_HINT_UTILITY);
    if (parent_widget) gtk_window_set_transient_for(window, GTK_WINDOW(parent_widget));

    // A layout, unlike a plain fixed container, asks for no room for its
    // children, so a window can be made smaller than its gadgets, which are
    // then cut off, as on the reference platform.
    GtkWidget* content = gtk_layout_new(nullptr, nullptr);
    gtk_container_add(GTK_CONTAINER(window), content);
    const WindowPlacement placement = place(window, x, y, inner_width, inner_height, flags, parent_widget);
    const bool sizeable = (style & STYLE_SIZEABLE) != 0;
    gtk_window_set_resizable(window, sizeable);
    // A negative inner size is an empty window, as native windows take it;
    // GTK reads -1 as "natural size" and refuses anything below.
    const int width = std::max(placement.width, 0);
    const int height = std::max(placement.height, 0);
    if (sizeable) gtk_window_set_default_size(window, width, height);
    else gtk_widget_set_size_request(content, width, height);

    record->handle = widget;
    record->content = content;
    record->colour = -1;
    record->width = width;
    record->height = height;
    record->x = record->y = IGNORE_VALUE;
    g_object_set_data(G_OBJECT(widget), WINDOW_ID_PROPERTY, reinterpret_cast<gpointer>(id + 1));
    window_signals_connect(widget, id);
    window_shortcuts_connect(widget, id);
    if (popup) {
        g_signal_connect(widget, "map-event", G_CALLBACK(keyboard_take), nullptr);
        g_signal_connect(widget, "unmap", G_CALLBACK(keyboard_give_back), nullptr);
    }
    if (!(flags & WINDOW_TOOL)) {
        if (style & STYLE_MAXIMIZE) gtk_window_maximize(window);
        else if (style & STYLE_MINIMIZE) gtk_window_iconify(window);
        record->minimized_or_maximized = (style & (STYLE_MAXIMIZE | STYLE_MINIMIZE)) != 0;
    }
    gtk_widget_show(content);
    // Shown means on the screen, as on the reference platform: until a window
    // manager has mapped it, the window is not where it was put, and the
    // pointer's place in it (the volume pop-up's) would be read wrong. A
    // window minimized from the start is never mapped by one.
    const bool iconic = !(flags & WINDOW_TOOL) && (style & STYLE_MINIMIZE);
    if (!(flags & WINDOW_HIDDEN)) {
        if (iconic) gtk_widget_show(widget);
        else gtk_widget_show_now(widget);
    }
    if (!(flags & WINDOW_NOT_GADGET_PARENT)) gadget_parent_set(content);
    return number == DYNAMIC_ID ? id : reinterpret_cast<std::intptr_t>(widget);
}

void window_close(ObjectNumber number) {
    auto& table = window_table();
    if (number == -1) {
        table.release_all();
        return;
    }
    std::lock_guard guard(table.lock());
    WindowRecord* record = table.find(number);
    if (!record) return;
    const WindowRecord closing = *record;
    if (gadget_parent() == closing.content) gadget_parent_set(nullptr);
    g_object_set_data(G_OBJECT(closing.handle), WINDOW_ID_PROPERTY, nullptr);
    gtk_widget_destroy(closing.handle);
    if (closing.background) g_object_unref(closing.background);
    event_purge_window(number);
    table.release(number);
}
