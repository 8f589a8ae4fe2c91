// The person of the behaviour tests under GTK: a second X client clicks
// through the X server and does what a window manager does for the title
// bar's buttons.
#include "tests/support/person.h"

#include <X11/keysym.h>
#include <gtk/gtk.h>

#include <gtest/gtest.h>

#include "runtime/gui/gadget.h"
#include "runtime/gui/toolbar.h"
#include "runtime/gui/window.h"
#include "tests/support/gtk_desktop.h"
#include "tests/support/gtk_list_rows.h"

namespace {

GtkWidget* widget_of(ObjectNumber gadget) { return reinterpret_cast<GtkWidget*>(gadget_handle(gadget)); }
GtkWidget* window_of(ObjectNumber window) { return reinterpret_cast<GtkWidget*>(window_handle(window)); }

ScreenPoint pressed{};  // where press_row put the pointer, on the screen
bool shift_held = false;

// The pointer resting at a point of a widget, relative to its corner; the tip shown then.
std::string rest_pointer_at(GtkWidget* widget, int x, int y) {
    EXPECT_TRUE(wait_drawn(gtk_widget_get_toplevel(widget)));
    const ScreenBox box = screen_box(widget);
    person_desktop().pointer_to(box.x + x, box.y + y);
    run_for(200);  // a tip left from before goes
    // Resting: the toolkit's hover time, then the tip's own way to the screen.
    run_until([] { return !shown_tooltip().empty(); }, 2000);
    return shown_tooltip();
}

}  // namespace

void settle() { run_for(200); }

void focus_gadget(ObjectNumber gadget) {
    GtkWidget* widget = widget_of(gadget);
    GtkWidget* control = GTK_IS_BIN(widget) ? gtk_bin_get_child(GTK_BIN(widget)) : widget;
    gtk_widget_grab_focus(control);
}

void click_row(ObjectNumber list, int row, int count) {
    ASSERT_TRUE(wait_drawn(gtk_widget_get_toplevel(GTK_WIDGET(tree_view_of(list)))));
    const ScreenPoint point = row_point(list, row);
    person_desktop().click(point.x, point.y, count);
}

std::string rest_pointer_on_row(ObjectNumber list, int row) {
    EXPECT_TRUE(wait_drawn(gtk_widget_get_toplevel(GTK_WIDGET(tree_view_of(list)))));
    const ScreenPoint point = row_point(list, row);
    const ScreenBox box = screen_box(widget_of(list));
    return rest_pointer_on_gadget(list, point.x - box.x, point.y - box.y);
}

std::string rest_pointer_on_gadget(ObjectNumber gadget, int x, int y) {
    return rest_pointer_at(widget_of(gadget), x, y);
}

ShownBox shown_row(ObjectNumber list, int row) {
    GtkTreeView* view = tree_view_of(list);
    GdkRectangle area;
    GtkTreePath* path = gtk_tree_path_new_from_indices(row, -1);
    gtk_tree_view_get_background_area(view, path, gtk_tree_view_get_column(view, 0), &area);
    gtk_tree_path_free(path);
    int x = 0, y = 0, in_window_x = 0, in_window_y = 0;
    gtk_tree_view_convert_bin_window_to_widget_coords(view, area.x, area.y, &x, &y);
    gtk_widget_translate_coordinates(GTK_WIDGET(view), gtk_widget_get_toplevel(GTK_WIDGET(view)), x, y, &in_window_x,
                                     &in_window_y);
    return {in_window_x, in_window_y, area.width, area.height};
}

void press_key(Key key) {
    person_desktop().key(key == Key::Left ? XK_Left : key == Key::Right ? XK_Right : key == Key::Escape ? XK_Escape : XK_Down);
}

void press_row(ObjectNumber list, int row, bool shift) {
    ASSERT_TRUE(wait_drawn(gtk_widget_get_toplevel(GTK_WIDGET(tree_view_of(list)))));
    if (row >= 0) {
        pressed = row_point(list, row);
    } else {
        const ScreenBox box = screen_box(GTK_WIDGET(tree_view_of(list)));
        pressed = {box.x + 20, box.y + box.height - 20};
    }
    shift_held = shift;
    if (shift) person_desktop().key_down(XK_Shift_L);
    person_desktop().pointer_to(pressed.x, pressed.y);
    person_desktop().press();
}

void move_pointer_by(int dx, int dy) { person_desktop().pointer_to(pressed.x + dx, pressed.y + dy); }

void release_pointer() {
    person_desktop().release();
    if (shift_held) person_desktop().key_up(XK_Shift_L);
    shift_held = false;
}

void click_gadget(ObjectNumber gadget, int x, int y) {
    GtkWidget* widget = widget_of(gadget);
    ASSERT_TRUE(wait_drawn(gtk_widget_get_toplevel(widget)));
    const ScreenBox box = screen_box(widget);
    person_desktop().click(box.x + x, box.y + y);
}

void click_toolbar_item(ObjectNumber toolbar, int index) {
    auto* bar = GTK_TOOLBAR(reinterpret_cast<GtkWidget*>(toolbar_handle(toolbar)));
    ASSERT_TRUE(wait_drawn(gtk_widget_get_toplevel(GTK_WIDGET(bar))));
    const ScreenBox box = screen_box(GTK_WIDGET(gtk_toolbar_get_nth_item(bar, index)));
    person_desktop().click(box.x + box.width / 2, box.y + box.height / 2);
}

std::string rest_pointer_on_toolbar_item(ObjectNumber toolbar, int index) {
    auto* bar = GTK_TOOLBAR(reinterpret_cast<GtkWidget*>(toolbar_handle(toolbar)));
    GtkWidget* item = GTK_WIDGET(gtk_toolbar_get_nth_item(bar, index));
    EXPECT_TRUE(wait_drawn(gtk_widget_get_toplevel(item)));
    return rest_pointer_at(item, gtk_widget_get_allocated_width(item) / 2, gtk_widget_get_allocated_height(item) / 2);
}

bool toolbar_item_shown_checked(ObjectNumber toolbar, int index) {
    auto* bar = GTK_TOOLBAR(reinterpret_cast<GtkWidget*>(toolbar_handle(toolbar)));
    return gtk_toggle_tool_button_get_active(GTK_TOGGLE_TOOL_BUTTON(gtk_toolbar_get_nth_item(bar, index)));
}

int toolbar_shown_width(ObjectNumber toolbar) {
    return gtk_widget_get_allocated_width(reinterpret_cast<GtkWidget*>(toolbar_handle(toolbar)));
}

void point_at(ObjectNumber window, int x, int y) {
    GtkWidget* widget = window_of(window);
    ASSERT_TRUE(wait_drawn(widget));
    const ScreenBox box = person_desktop().box(widget);
    person_desktop().pointer_to(box.x + x, box.y + y);
}

double slider_shown_position(ObjectNumber slider) { return gtk_range_get_value(GTK_RANGE(widget_of(slider))); }

ShownBox shown_box(ObjectNumber gadget) {
    GtkWidget* widget = widget_of(gadget);
    GtkWidget* window = gtk_widget_get_toplevel(widget);
    EXPECT_TRUE(wait_drawn(window));
    const ScreenBox box = screen_box(widget);
    const ScreenBox inner = screen_box(gtk_bin_get_child(GTK_BIN(window)));
    return {box.x - inner.x, box.y - inner.y, box.width, box.height};
}

void destroy_control(ObjectNumber gadget) { gtk_widget_destroy(widget_of(gadget)); }

// Gadgets stand in their window's layout; a destroyed one is no child of any.
bool control_exists(std::intptr_t handle) {
    bool found = false;
    GList* toplevels = gtk_window_list_toplevels();
    for (GList* item = toplevels; item; item = item->next) {
        GtkWidget* content = gtk_bin_get_child(GTK_BIN(item->data));
        if (!content || !GTK_IS_CONTAINER(content)) continue;
        GList* children = gtk_container_get_children(GTK_CONTAINER(content));
        found = found || g_list_find(children, reinterpret_cast<gpointer>(handle));
        g_list_free(children);
    }
    g_list_free(toplevels);
    return found;
}

bool window_exists(std::intptr_t handle) {
    GList* toplevels = gtk_window_list_toplevels();
    const bool found = g_list_find(toplevels, reinterpret_cast<gpointer>(handle)) != nullptr;
    g_list_free(toplevels);
    return found;
}

void minimize_window(ObjectNumber window) { person_desktop().minimize(window_of(window)); }
void maximize_window(ObjectNumber window) { person_desktop().maximize(window_of(window)); }
void restore_window(ObjectNumber window) { person_desktop().restore(window_of(window)); }
void ask_to_close(ObjectNumber window) { person_desktop().close_request(window_of(window)); }
void resize_window(ObjectNumber window, int width, int height) { person_desktop().resize(window_of(window), width, height); }

int shown_colour(ObjectNumber window, int x, int y) {
    const unsigned long rgb = person_desktop().pixel(window_of(window), x, y);
    return static_cast<int>((rgb & 0xFF) << 16 | (rgb & 0xFF00) | (rgb >> 16 & 0xFF));
}

// No window manager frames the test's windows: the frame is the inner area.
ShownBox shown_frame(ObjectNumber window) {
    GtkWidget* widget = window_of(window);
    EXPECT_TRUE(wait_drawn(widget));
    const ScreenBox box = person_desktop().box(widget);
    return {box.x, box.y, box.width, box.height};
}

ShownBox shown_inner_area(ObjectNumber window) { return shown_frame(window); }

ShownBox shown_screen() {
    GdkRectangle area{};
    gdk_monitor_get_geometry(gdk_display_get_monitor(gdk_display_get_default(), 0), &area);
    return {0, 0, area.width, area.height};
}

std::string shown_title(ObjectNumber window) {
    const char* title = gtk_window_get_title(GTK_WINDOW(window_of(window)));
    return title ? title : "";
}

// What the X server shows, once it has caught up with what the toolkit asked.
bool window_shown(ObjectNumber window) {
    GtkWidget* widget = window_of(window);
    run_until([&] { return person_desktop().mapped(widget) == gtk_widget_get_visible(widget); }, 2000);
    return person_desktop().mapped(widget);
}

// Each waits until the toolkit has heard of it, however slow the X server.
void activate_window(ObjectNumber window) {
    auto* widget = GTK_WINDOW(window_of(window));
    person_desktop().focus(GTK_WIDGET(widget));
    run_until([&] { return gtk_window_is_active(widget); }, 2000);
}

void move_window(ObjectNumber window, int x, int y) {
    auto* widget = GTK_WINDOW(window_of(window));
    person_desktop().move(GTK_WIDGET(widget), x, y);
    run_until([&] {
        int now_x = 0, now_y = 0;
        gtk_window_get_position(widget, &now_x, &now_y);
        return now_x == x && now_y == y;
    }, 2000);
}

void right_click_toolbar_item(ObjectNumber toolbar, int index) {
    auto* bar = GTK_TOOLBAR(reinterpret_cast<GtkWidget*>(toolbar_handle(toolbar)));
    ASSERT_TRUE(wait_drawn(gtk_widget_get_toplevel(GTK_WIDGET(bar))));
    const ScreenBox box = screen_box(GTK_WIDGET(gtk_toolbar_get_nth_item(bar, index)));
    person_desktop().pointer_to(box.x + box.width / 2, box.y + box.height / 2);
    person_desktop().press(3);
    person_desktop().release(3);
}

Distance drag_threshold() {
    int threshold = 0;
    g_object_get(gtk_settings_get_default(), "gtk-dnd-drag-threshold", &threshold, nullptr);
    return {threshold, threshold};
}
