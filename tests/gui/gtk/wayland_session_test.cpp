// The runtime's windows in a Wayland session (cmake/with-wayland): on the
// session's X server, XWayland, where a window can be placed and the pointer
// read on the whole screen; and on Wayland itself when the session has no X
// server. Each case runs in a program of its own: GTK picks its display once.
#include <gtest/gtest.h>

// After gtest: X11's headers define None, a name gtest uses.
#include <gdk/gdkwayland.h>
#include <gdk/gdkx.h>
#include <gtk/gtk.h>

#include <cstdlib>

#include "runtime/core/runtime_steps.h"
#include "runtime/gui/window.h"
#include "tests/support/gtk_desktop.h"

namespace {

// Starts the runtime, opens a window and lets it show; the display it is on.
GdkDisplay* display_of_a_shown_window() {
    EXPECT_TRUE(runtime_start());
    EXPECT_NE(window_open(0, 100, 80, 300, 200, u"A window", 0), 0);
    auto* window = reinterpret_cast<GtkWidget*>(window_handle(0));
    EXPECT_TRUE(wait_drawn(window));
    return gtk_widget_get_display(window);
}

TEST(WaylandSession, WindowsOpenOnTheSessionsXServer) {
    ASSERT_NE(std::getenv("WAYLAND_DISPLAY"), nullptr) << "run this program through cmake/with-wayland";
    ASSERT_NE(std::getenv("DISPLAY"), nullptr);
    EXPECT_TRUE(GDK_IS_X11_DISPLAY(display_of_a_shown_window()));
    runtime_end();
}

TEST(WaylandSessionWithoutX, WindowsOpenOnWayland) {
    ASSERT_NE(std::getenv("WAYLAND_DISPLAY"), nullptr) << "run this program through cmake/with-wayland";
    ASSERT_EQ(std::getenv("DISPLAY"), nullptr) << "run this case without DISPLAY";
    EXPECT_TRUE(GDK_IS_WAYLAND_DISPLAY(display_of_a_shown_window()));
    runtime_end();
}

}  // namespace
