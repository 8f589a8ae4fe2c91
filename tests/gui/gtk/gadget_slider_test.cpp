// The slider gadget on a real GtkScale: its range and state, a vertical
// slider's minimum at the bottom, and the events a person's moves produce.
#include <X11/keysym.h>
#include <gtk/gtk.h>

#include <gtest/gtest.h>

#include "runtime/gui/event.h"
#include "runtime/gui/gadget.h"
#include "tests/gui/gtk/gadget_support.h"

namespace {

constexpr ObjectNumber SLIDER = 1;
constexpr int VERTICAL = 2;

using SliderGadgetTest = GadgetWindowTest;

GtkRange* range_of(ObjectNumber slider) { return GTK_RANGE(reinterpret_cast<GtkWidget*>(gadget_handle(slider))); }

TEST_F(SliderGadgetTest, ASliderIsAHorizontalScale) {
    auto* slider = reinterpret_cast<GtkWidget*>(gadget_track_bar(SLIDER, 5, 5, 190, 40, 10, 100));
    ASSERT_TRUE(slider && GTK_IS_SCALE(slider));
    EXPECT_EQ(gtk_orientable_get_orientation(GTK_ORIENTABLE(slider)), GTK_ORIENTATION_HORIZONTAL);
}

TEST_F(SliderGadgetTest, AClickMovesTheSliderThereAndIsAnEvent) {
    gadget_track_bar(SLIDER, 50, 50, 200, 40, 0, 100);
    ASSERT_TRUE(wait_drawn(window_));
    const ScreenBox box = screen_box(reinterpret_cast<GtkWidget*>(gadget_handle(SLIDER)));
    desktop.click(box.x + box.width * 3 / 4, box.y + box.height / 2);
    EXPECT_TRUE(run_until([] { return gadget_state_get(SLIDER) > 60; })) << gadget_state_get(SLIDER);
    const auto events = gadget_events();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].object, SLIDER);
    EXPECT_EQ(events[0].window, WINDOW);
    EXPECT_EQ(events[0].subtype, 0);
}

TEST_F(SliderGadgetTest, AVerticalSliderHasItsMinimumAtTheBottom) {
    gadget_track_bar(SLIDER, 50, 50, 40, 200, 0, 100, VERTICAL);
    EXPECT_EQ(gtk_orientable_get_orientation(GTK_ORIENTABLE(range_of(SLIDER))), GTK_ORIENTATION_VERTICAL);
    ASSERT_TRUE(wait_drawn(window_));
    const ScreenBox box = screen_box(reinterpret_cast<GtkWidget*>(gadget_handle(SLIDER)));
    desktop.click(box.x + box.width / 2, box.y + box.height / 5);  // near the top
    EXPECT_TRUE(run_until([] { return gadget_state_get(SLIDER) > 60; })) << gadget_state_get(SLIDER);
}

TEST_F(SliderGadgetTest, ABurstOfMovesUnreadCostsOneEvent) {
    gadget_track_bar(SLIDER, 50, 50, 200, 40, 0, 100);
    ASSERT_TRUE(wait_drawn(window_));
    gtk_widget_grab_focus(reinterpret_cast<GtkWidget*>(gadget_handle(SLIDER)));
    gadget_state_set(SLIDER, 50);
    for (int i = 0; i < 5; ++i) desktop.key(XK_Right);
    EXPECT_TRUE(run_until([] { return gadget_state_get(SLIDER) == 55; })) << gadget_state_get(SLIDER);
    EXPECT_EQ(gadget_events().size(), 1u);

    // Read in between, every move is an event of its own.
    int events = 0;
    for (int i = 0; i < 3; ++i) {
        desktop.key(XK_Left);
        events += static_cast<int>(gadget_events().size());
    }
    EXPECT_EQ(events, 3);
    EXPECT_EQ(gadget_state_get(SLIDER), 52);
}

}  // namespace
