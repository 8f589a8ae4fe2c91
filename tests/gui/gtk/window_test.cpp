// What only GTK windows have: the window's own data, its frame, sizing and
// transient hints, the keyboard grab of an owned pop-up, and the pointer
// leaving as an event.
#include <gtest/gtest.h>

#include <vector>

#include "runtime/gui/event.h"
#include "runtime/gui/event_queue.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/gtk/gui_gtk.h"
#include "runtime/gui/window.h"
#include "tests/gui/window_events.h"
#include "tests/support/gtk_desktop.h"

namespace {

// Everything event_wait has to give now.
std::vector<Event> drain() {
    std::vector<Event> events;
    run_for(50);
    while (int kind = event_wait_timeout(0)) events.push_back(current(kind));
    return events;
}

class WindowTest : public WindowSuite {
protected:
    static GtkWidget* open(ObjectNumber number, std::uint32_t flags = 0, int x = 100, int y = 100, int w = 300,
                           int h = 200, std::intptr_t parent = 0) {
        auto handle = window_open(number, x, y, w, h, u"Test", flags, parent);
        auto* window = reinterpret_cast<GtkWidget*>(number == DYNAMIC_ID ? window_handle(handle) : handle);
        if (window && gtk_widget_get_visible(window)) wait_drawn(window);
        return window;
    }
    Desktop desktop;
};

TEST_F(WindowTest, OpenMarksTheWindowAndNoFrameIsAdded) {
    GtkWidget* window = open(0);
    ASSERT_TRUE(window && GTK_IS_WINDOW(window));
    EXPECT_EQ(g_object_get_data(G_OBJECT(window), "QX_WindowID"), reinterpret_cast<gpointer>(1));
    EXPECT_EQ(window_number_of(window), 0);
    EXPECT_EQ(window_number_of(gadget_parent()), 0);
    EXPECT_EQ(gtk_widget_get_toplevel(gadget_parent()), window);

    // The stray byte of a file name that is not UTF-8 shows as a replacement character.
    window_title_set(0, u"caf\xDCE9.m3u");
    EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(window)), "caf\xef\xbf\xbd.m3u");

    // No window manager draws a frame here: outer and inner size agree.
    EXPECT_EQ(window_width(0, 0), 300);
    EXPECT_EQ(window_height(0, 0), 200);

    const auto id = static_cast<ObjectNumber>(window_open(DYNAMIC_ID, 0, 0, 100, 100, nullptr, 0));
    EXPECT_EQ(window_number_of(reinterpret_cast<GtkWidget*>(window_handle(id))), id);
    window_close(-1);
    EXPECT_EQ(gadget_parent(), nullptr) << "gadgets go into no closed window";
}

TEST_F(WindowTest, FlagsChooseFrameSizingAndVisibility) {
    GtkWidget* plain = open(0, WINDOW_CENTERED);
    EXPECT_TRUE(gtk_window_get_decorated(GTK_WINDOW(plain)));
    EXPECT_FALSE(gtk_window_get_resizable(GTK_WINDOW(plain)));

    GtkWidget* main = open(1, MAIN_FLAGS);
    EXPECT_TRUE(gtk_window_get_decorated(GTK_WINDOW(main)));
    EXPECT_TRUE(gtk_window_get_resizable(GTK_WINDOW(main)));

    GtkWidget* popup = open(2, POPUP, 10, 10, 120, 90);
    EXPECT_FALSE(gtk_window_get_decorated(GTK_WINDOW(popup)));
    EXPECT_EQ(desktop.box(popup).width, 120);
    EXPECT_EQ(desktop.box(popup).height, 90);
    EXPECT_EQ(gtk_window_get_window_type(GTK_WINDOW(popup)), GTK_WINDOW_TOPLEVEL);
    // One that belongs to another is a pop-up that no window manager places,
    // and it has the keyboard while shown.
    GtkWidget* owned = open(6, POPUP, 30, 40, 200, 50, reinterpret_cast<std::intptr_t>(popup));
    EXPECT_EQ(gtk_window_get_window_type(GTK_WINDOW(owned)), GTK_WINDOW_POPUP);
    EXPECT_EQ(desktop.box(owned).x, 30);
    EXPECT_EQ(desktop.box(owned).y, 40);
    GdkDisplay* display = gtk_widget_get_display(owned);
    GdkDevice* keyboard = gdk_seat_get_keyboard(gdk_display_get_default_seat(display));
    EXPECT_TRUE(gdk_display_device_is_grabbed(display, keyboard));
    window_close(6);
    drain();
    EXPECT_FALSE(gdk_display_device_is_grabbed(display, keyboard));

    GtkWidget* tool = open(3, WINDOW_TOOL | POPUP);
    EXPECT_TRUE(gtk_window_get_decorated(GTK_WINDOW(tool)));
    EXPECT_EQ(gtk_window_get_type_hint(GTK_WINDOW(tool)), GDK_WINDOW_TYPE_HINT_UTILITY);
}

TEST_F(WindowTest, AWindowCentredOnItsParentIsTransientForIt) {
    GtkWidget* parent = open(2, POPUP, 200, 150, 600, 500);
    GtkWidget* on_parent = open(3, WINDOW_CENTERED_ON_PARENT | POPUP, 0, 0, 200, 100,
                                reinterpret_cast<std::intptr_t>(parent));
    EXPECT_EQ(gtk_window_get_transient_for(GTK_WINDOW(on_parent)), GTK_WINDOW(parent));
}

// Over no window at all nothing else wakes the wait (no window manager moves
// the keyboard focus here), so leaving is an event of its own; going into a
// gadget is not leaving.
TEST_F(WindowTest, ThePointerLeavingAWindowIsAnEvent) {
    open(0, POPUP, 300, 200, 200, 100);
    ASSERT_TRUE(gadget_init());
    gadget_track_bar(0, 5, 5, 190, 40, 0, 100);
    desktop.pointer_to(310, 280);
    drain();
    desktop.pointer_to(320, 220);  // into the slider
    EXPECT_EQ(next_event(EVENT_POINTER_MOVE), (Event{EVENT_POINTER_MOVE, 0, 0, -1}));
    for (const Event& event : drain()) EXPECT_NE(event.kind, EVENT_POINTER_LEAVE) << "leaving into a gadget";
    desktop.pointer_to(700, 700);
    EXPECT_EQ(next_event(EVENT_POINTER_LEAVE), (Event{EVENT_POINTER_LEAVE, 0, 0, -1}));
    EXPECT_EQ(window_mouse_x(0), -1);
    gadget_end();
}

}  // namespace
