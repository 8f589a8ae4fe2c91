// What only GTK toolbars show: the embedded icons along the top of the
// window, and the pictures for high-density screens kept as long as their
// buttons.
#include <gtk/gtk.h>

#include <gtest/gtest.h>

#include "resources/toolbar_icons.h"
#include "runtime/gui/event.h"
#include "runtime/gui/toolbar.h"
#include "runtime/gui/window.h"
#include "tests/gui/window_events.h"
#include "runtime/image/image.h"
#include "tests/support/gtk_desktop.h"

namespace {

constexpr ObjectNumber WINDOW = 0;
constexpr ObjectNumber TOOLBAR = 0;

// Reads and forgets whatever events the clicks and redraws left.
void drain_events() {
    run_for(100);
    while (event_wait_timeout(0)) {
    }
}

GtkToolItem* button_at(int index) {
    return gtk_toolbar_get_nth_item(GTK_TOOLBAR(reinterpret_cast<GtkWidget*>(toolbar_handle(TOOLBAR))), index);
}

class ToolbarTest : public ::testing::Test {
protected:
    void SetUp() override {
        window_ = reinterpret_cast<GtkWidget*>(window_open(WINDOW, 0, 0, 600, 300, u"Toolbar", MAIN_FLAGS));
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override {
        window_close(-1);
        drain_events();
    }
    // Buttons 100 to 104 with the first five icons, a separator after the
    // second; button 104 a toggle button.
    void build() {
        ASSERT_NE(toolbar_create(TOOLBAR, window_handle(WINDOW)), 0);
        for (int n = 0; n < 5; ++n) {
            const std::intptr_t image = image_catch(n, toolbar_icon_data(n), toolbar_icon_size(n));
            ASSERT_NE(image, 0);
            ASSERT_NE(toolbar_image_button(100 + n, image, n == 4), 0);
            if (n == 1) toolbar_separator();
        }
        ASSERT_TRUE(wait_drawn(window_));
        desktop.focus(window_);
        drain_events();
    }
    GtkWidget* window_ = nullptr;
    Desktop desktop;
};

TEST_F(ToolbarTest, ButtonsShowTheirIconsAlongTheTopOfTheWindow) {
    build();
    auto* toolbar = reinterpret_cast<GtkWidget*>(toolbar_handle(TOOLBAR));
    ASSERT_TRUE(toolbar && GTK_IS_TOOLBAR(toolbar));
    EXPECT_EQ(gtk_toolbar_get_n_items(GTK_TOOLBAR(toolbar)), 6);
    EXPECT_TRUE(GTK_IS_SEPARATOR_TOOL_ITEM(button_at(2)));
    GtkWidget* icon = gtk_tool_button_get_icon_widget(GTK_TOOL_BUTTON(button_at(3)));
    ASSERT_TRUE(icon && GTK_IS_IMAGE(icon));
    EXPECT_EQ(reinterpret_cast<std::intptr_t>(gtk_image_get_pixbuf(GTK_IMAGE(icon))), image_record(2).handle);
    // The icons stay when the program frees its images.
    image_free(2);
    EXPECT_TRUE(GDK_IS_PIXBUF(gtk_image_get_pixbuf(GTK_IMAGE(icon))));

    const ScreenBox window_box = desktop.box(window_);
    const ScreenBox box = screen_box(toolbar);
    EXPECT_EQ(box.x, window_box.x);
    EXPECT_EQ(box.y, window_box.y);
    EXPECT_EQ(box.width, 600);
    EXPECT_EQ(toolbar_height(TOOLBAR), box.height);
    // The window names its toolbar (one more than its number).
    EXPECT_EQ(g_object_get_data(G_OBJECT(window_), "qx_toolbar_id"), reinterpret_cast<gpointer>(TOOLBAR + 1));
}

// At scale 2 a button draws from the image's double picture: it must outlive
// the program's image as the picture itself does, and go with the button.
TEST_F(ToolbarTest, AButtonKeepsTheDoublePictureUntilItGoes) {
    ASSERT_NE(toolbar_create(TOOLBAR, window_handle(WINDOW)), 0);
    const std::intptr_t image = image_catch(0, toolbar_icon_data(0), toolbar_icon_size(0));
    auto* sharp =
        reinterpret_cast<GdkPixbuf*>(image_catch_double(0, toolbar_icon_32_data(0), toolbar_icon_32_size(0)));
    ASSERT_NE(sharp, nullptr);
    g_object_add_weak_pointer(G_OBJECT(sharp), reinterpret_cast<gpointer*>(&sharp));
    ASSERT_NE(toolbar_image_button(100, image), 0);
    ASSERT_TRUE(wait_drawn(window_));
    image_free(0);
    EXPECT_NE(sharp, nullptr);
    toolbar_free(TOOLBAR);
    EXPECT_EQ(sharp, nullptr);
}

}  // namespace
