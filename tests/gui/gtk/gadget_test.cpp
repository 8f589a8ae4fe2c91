// GTK gadgets, beside the behaviour every back end shares: the widgets they
// are, in their window, and the slider's jump to a click.
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

TEST_F(GadgetTest, CreationPutsTheWidgetIntoTheWindow) {
    auto* list = reinterpret_cast<GtkWidget*>(gadget_list_view(0, 10, 20, 300, 200));
    auto* slider = reinterpret_cast<GtkWidget*>(gadget_track_bar(1, 5, 250, 190, 40, 0, 100));
    ASSERT_TRUE(list && slider);
    EXPECT_EQ(gtk_widget_get_toplevel(list), test_window());
    EXPECT_EQ(window_number_of(slider), WINDOW);
    EXPECT_EQ(g_object_get_data(G_OBJECT(slider), "QX_ID"), reinterpret_cast<gpointer>(2));
}

TEST_F(GadgetTest, AListIsOneTextColumnWithoutHeaderAndSingleSelection) {
    gadget_list_view(0, 10, 10, 300, 200);
    GtkTreeView* view = tree_view_of(0);
    EXPECT_FALSE(gtk_tree_view_get_headers_visible(view));
    EXPECT_EQ(gtk_tree_view_get_n_columns(view), 1);
    EXPECT_EQ(gtk_tree_selection_get_mode(gtk_tree_view_get_selection(view)), GTK_SELECTION_SINGLE);
    EXPECT_TRUE(GTK_IS_LIST_STORE(gtk_tree_view_get_model(view)));
}

// A click on the track jumps there, where the reference platform moves a page.
TEST_F(GadgetTest, ASliderIsAScaleThatJumpsToAClick) {
    auto* slider = reinterpret_cast<GtkWidget*>(gadget_track_bar(1, 50, 50, 200, 40, 0, 100));
    ASSERT_TRUE(slider && GTK_IS_SCALE(slider));
    EXPECT_EQ(gtk_orientable_get_orientation(GTK_ORIENTABLE(slider)), GTK_ORIENTATION_HORIZONTAL);
    ASSERT_TRUE(wait_drawn(test_window()));
    const ScreenBox box = screen_box(slider);
    person_desktop().click(box.x + box.width * 3 / 4, box.y + box.height / 2);
    EXPECT_TRUE(run_until([] { return gadget_state_get(1) > 60; })) << gadget_state_get(1);
    gadget_track_bar(2, 300, 50, 40, 200, 0, 100, 2);
    EXPECT_EQ(gtk_orientable_get_orientation(GTK_ORIENTABLE(widget_of(2))), GTK_ORIENTATION_VERTICAL);
}

}  // namespace
