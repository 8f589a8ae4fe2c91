// What only GTK toolbars show: the embedded icons along the top of the
// window, and the pictures for high-density screens kept as long as their
// buttons.
#include <gtk/gtk.h>

#include <gtest/gtest.h>

#include "tests/gui/toolbar_suite.h"
#include "tests/support/gtk_desktop.h"

namespace {

GtkToolItem* button_at(int index) {
    return gtk_toolbar_get_nth_item(GTK_TOOLBAR(reinterpret_cast<GtkWidget*>(toolbar_handle(TOOLBAR))), index);
}

class ToolbarTest : public ToolbarBehaviourTest {
protected:
    static GtkWidget* window() { return reinterpret_cast<GtkWidget*>(window_handle(WINDOW)); }
    Desktop desktop;
};

TEST_F(ToolbarTest, ButtonsShowTheirIconsAlongTheTopOfTheWindow) {
    build();
    ASSERT_TRUE(wait_drawn(window()));
    auto* toolbar = reinterpret_cast<GtkWidget*>(toolbar_handle(TOOLBAR));
    ASSERT_TRUE(toolbar && GTK_IS_TOOLBAR(toolbar));
    EXPECT_EQ(gtk_toolbar_get_n_items(GTK_TOOLBAR(toolbar)), 5);
    EXPECT_TRUE(GTK_IS_SEPARATOR_TOOL_ITEM(button_at(1)));
    GtkWidget* icon = gtk_tool_button_get_icon_widget(GTK_TOOL_BUTTON(button_at(4)));
    ASSERT_TRUE(icon && GTK_IS_IMAGE(icon));
    EXPECT_EQ(reinterpret_cast<std::intptr_t>(gtk_image_get_pixbuf(GTK_IMAGE(icon))), image_record(2).handle);
    // The icons stay when the program frees its images.
    image_free(2);
    EXPECT_TRUE(GDK_IS_PIXBUF(gtk_image_get_pixbuf(GTK_IMAGE(icon))));

    const ScreenBox window_box = desktop.box(window());
    const ScreenBox box = screen_box(toolbar);
    EXPECT_EQ(box.x, window_box.x);
    EXPECT_EQ(box.y, window_box.y);
    EXPECT_EQ(box.width, 600);
    EXPECT_EQ(toolbar_height(TOOLBAR), box.height);
    // The window names its toolbar (one more than its number).
    EXPECT_EQ(g_object_get_data(G_OBJECT(window()), "qx_toolbar_id"), reinterpret_cast<gpointer>(TOOLBAR + 1));
}

// At scale 2 a button draws from the image's double picture: it must outlive
// the program's image as the picture itself does, and go with the button.
TEST_F(ToolbarTest, AButtonKeepsTheDoublePictureUntilItGoes) {
    const std::intptr_t image = image_catch(0, toolbar_icon_data(0), toolbar_icon_size(0));
    auto* sharp =
        reinterpret_cast<GdkPixbuf*>(image_catch_double(0, toolbar_icon_32_data(0), toolbar_icon_32_size(0)));
    ASSERT_NE(sharp, nullptr);
    g_object_add_weak_pointer(G_OBJECT(sharp), reinterpret_cast<gpointer*>(&sharp));
    ASSERT_NE(toolbar_image_button(100, image), 0);
    ASSERT_TRUE(wait_drawn(window()));
    image_free(0);
    EXPECT_NE(sharp, nullptr);
    toolbar_free(TOOLBAR);
    EXPECT_EQ(sharp, nullptr);
}

}  // namespace
