// What every GTK gadget shares: its place in its window's layout, numbers
// (fixed and dynamic), the cleanup when its widget goes, moving, tool tips,
// and the silence of operations on numbers that hold nothing.
#include <gtk/gtk.h>

#include <gtest/gtest.h>

#include "runtime/gui/event.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/gtk/gui_gtk.h"
#include "runtime/gui/window.h"
#include "tests/gui/gtk/gadget_support.h"

namespace {

using GadgetTest = GadgetWindowTest;

GtkWidget* widget_of(ObjectNumber gadget) { return reinterpret_cast<GtkWidget*>(gadget_handle(gadget)); }

TEST_F(GadgetTest, CreationPutsTheWidgetIntoTheWindowAtItsPlace) {
    auto* list = reinterpret_cast<GtkWidget*>(gadget_list_view(0, 10, 20, 300, 200));
    auto* slider = reinterpret_cast<GtkWidget*>(gadget_track_bar(1, 5, 250, 190, 40, 0, 100));
    ASSERT_TRUE(list && slider);
    EXPECT_EQ(gadget_handle(0), reinterpret_cast<std::intptr_t>(list));
    EXPECT_EQ(gtk_widget_get_toplevel(list), window_);
    EXPECT_EQ(window_number_of(slider), WINDOW);
    EXPECT_EQ(g_object_get_data(G_OBJECT(slider), "QX_ID"), reinterpret_cast<gpointer>(2));
    ASSERT_TRUE(wait_drawn(window_));
    const ScreenBox window_box = desktop.box(window_);
    const ScreenBox list_box = screen_box(list);
    EXPECT_EQ(list_box.x - window_box.x, 10);
    EXPECT_EQ(list_box.y - window_box.y, 20);
    EXPECT_EQ(list_box.width, 300);
    EXPECT_EQ(list_box.height, 200);
    const ScreenBox slider_box = screen_box(slider);
    EXPECT_EQ(slider_box.x - window_box.x, 5);
    EXPECT_EQ(slider_box.y - window_box.y, 250);
    EXPECT_EQ(slider_box.width, 190);
}

TEST_F(GadgetTest, DynamicNumbersAreReturnedAndServeEveryOperation) {
    auto id = static_cast<ObjectNumber>(gadget_list_view(DYNAMIC_ID, 10, 10, 200, 150));
    ASSERT_GT(id, 0);
    GtkWidget* widget = widget_of(id);
    ASSERT_TRUE(widget && GTK_IS_SCROLLED_WINDOW(widget));
    EXPECT_NE(reinterpret_cast<ObjectNumber>(widget), id);
    gadget_item_add(id, -1, u"one");
    gadget_item_add(id, -1, u"two");
    EXPECT_EQ(gadget_item_count(id), 2);
    ASSERT_TRUE(wait_drawn(window_));

    // A click on the second row comes back under the dynamic number.
    const ScreenPoint second = row_point(id, 1);
    desktop.click(second.x, second.y);
    const auto events = gadget_events();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back().object, id);
    EXPECT_EQ(events.back().window, WINDOW);
    EXPECT_EQ(gadget_state_get(id), 1);
}

TEST_F(GadgetTest, FailedCreationReturnsZeroAndLeavesTheNumberFree) {
    window_close(WINDOW);  // no gadget parent any more
    EXPECT_EQ(gadget_list_view(3, 0, 0, 100, 100), 0);
    EXPECT_EQ(gadget_track_bar(4, 0, 0, 100, 30, 0, 10), 0);
    EXPECT_EQ(gadget_handle(3), 0);
    EXPECT_EQ(gadget_handle(4), 0);
}

TEST_F(GadgetTest, ReusingANumberDestroysTheOldWidget) {
    GtkWidget* first = reinterpret_cast<GtkWidget*>(gadget_list_view(0, 0, 0, 100, 100));
    g_object_add_weak_pointer(G_OBJECT(first), reinterpret_cast<gpointer*>(&first));
    auto* second = reinterpret_cast<GtkWidget*>(gadget_track_bar(0, 0, 0, 100, 30, 0, 10));
    EXPECT_EQ(first, nullptr);
    EXPECT_EQ(gadget_handle(0), reinterpret_cast<std::intptr_t>(second));
    EXPECT_EQ(gadget_item_count(0), 0);  // a slider now: no items
}

TEST_F(GadgetTest, DestroyingAGadgetDropsOnlyItsOwnQueuedEvents) {
    gadget_list_view(0, 0, 0, 100, 100);
    gadget_list_view(1, 100, 0, 100, 100);
    event_post(EVENT_GADGET, 0, WINDOW, 0);
    event_post(EVENT_GADGET, 1, WINDOW, 0);
    event_post(EVENT_MENU, 0, WINDOW, 0);
    event_post(EVENT_GADGET, 0, WINDOW, 2);
    gtk_widget_destroy(widget_of(0));
    EXPECT_EQ(gadget_handle(0), 0);
    const auto events = drain_events();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].kind, EVENT_GADGET);
    EXPECT_EQ(events[0].object, 1);
    EXPECT_EQ(events[1].kind, EVENT_MENU);
    // The number is free for a new gadget.
    EXPECT_NE(gadget_track_bar(0, 0, 0, 100, 30, 0, 10), 0);
}

TEST_F(GadgetTest, ResizeKeepsWhatIsIgnored) {
    GtkWidget* list = reinterpret_cast<GtkWidget*>(gadget_list_view(0, 10, 20, 300, 200));
    gadget_resize(0, 30, IGNORE_VALUE, IGNORE_VALUE, 150);
    ASSERT_TRUE(wait_drawn(window_));
    const ScreenBox window_box = desktop.box(window_);
    ScreenBox box = screen_box(list);
    EXPECT_EQ(box.x - window_box.x, 30);
    EXPECT_EQ(box.y - window_box.y, 20);
    EXPECT_EQ(box.width, 300);
    EXPECT_EQ(box.height, 150);
    gadget_resize(0, IGNORE_VALUE, 5, 420, IGNORE_VALUE);
    ASSERT_TRUE(wait_drawn(window_));
    box = screen_box(list);
    EXPECT_EQ(box.x - window_box.x, 30);
    EXPECT_EQ(box.y - window_box.y, 5);
    EXPECT_EQ(box.width, 420);
    EXPECT_EQ(box.height, 150);
}

TEST_F(GadgetTest, ToolTipShowsWhenThePointerRestsOnTheGadget) {
    gadget_track_bar(1, 50, 50, 190, 40, 0, 100);
    gadget_tooltip(1, u"Volume: 75 \u266a");
    gadget_tooltip(1, u"Volume: 80 \u266a");  // replaces the text
    ASSERT_TRUE(wait_drawn(window_));
    const ScreenBox box = screen_box(widget_of(1));
    desktop.pointer_to(box.x + 20, box.y + 10);
    run_for(50);
    desktop.pointer_to(box.x + 25, box.y + 12);
    EXPECT_TRUE(run_until([] { return shown_tooltip() == "Volume: 80 \xe2\x99\xaa"; })) << shown_tooltip();
    desktop.pointer_to(box.x + 400, box.y + 300);
    EXPECT_TRUE(run_until([] { return shown_tooltip().empty(); }));
}

}  // namespace
