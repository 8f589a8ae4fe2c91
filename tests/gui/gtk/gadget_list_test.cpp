// The list gadget on a real GtkTreeView in a runtime window: items and their
// texts and data, selection, scrolling to the selection, colours as they
// appear on screen, and the events a person's keys and mouse produce.
#include <X11/keysym.h>
#include <gtk/gtk.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/gui/event.h"
#include "runtime/gui/gadget.h"
#include "runtime/text/text.h"
#include "tests/gui/gtk/gadget_support.h"

namespace {

constexpr ObjectNumber LIST = 0;

class ListGadgetTest : public GadgetWindowTest {
protected:
    void SetUp() override {
        GadgetWindowTest::SetUp();
        list_ = reinterpret_cast<GtkWidget*>(gadget_list_view(LIST, 10, 10, 300, 200));
        ASSERT_NE(list_, nullptr);
    }
    void add_rows(std::initializer_list<const char16_t*> rows) {
        for (const char16_t* row : rows) gadget_item_add(LIST, -1, row);
    }
    // Rows drawn and the keyboard in the list, with nothing left to report.
    void show_and_focus() {
        ASSERT_TRUE(wait_drawn(window_));
        gtk_widget_grab_focus(GTK_WIDGET(tree_view_of(LIST)));
        drain_events();
    }
    GtkWidget* list_ = nullptr;
};

TEST_F(ListGadgetTest, OneTextColumnWithoutHeaderAndSingleSelection) {
    GtkTreeView* view = tree_view_of(LIST);
    EXPECT_FALSE(gtk_tree_view_get_headers_visible(view));
    EXPECT_EQ(gtk_tree_view_get_n_columns(view), 1);
    EXPECT_EQ(gtk_tree_selection_get_mode(gtk_tree_view_get_selection(view)), GTK_SELECTION_SINGLE);
    EXPECT_TRUE(GTK_IS_LIST_STORE(gtk_tree_view_get_model(view)));
}

TEST_F(ListGadgetTest, TheSelectedRowIsScrolledIntoView) {
    gadget_redraw(LIST, 0);
    for (int i = 0; i < 500; ++i) gadget_item_add(LIST, -1, u"row");
    gadget_redraw(LIST, 1);
    ASSERT_TRUE(wait_drawn(window_));
    gadget_state_set(LIST, 400);
    GtkTreePath* first = nullptr;
    GtkTreePath* last = nullptr;
    auto in_view = [&](int row) {
        run_for(30);
        if (!gtk_tree_view_get_visible_range(tree_view_of(LIST), &first, &last)) return false;
        const bool inside = gtk_tree_path_get_indices(first)[0] <= row && row <= gtk_tree_path_get_indices(last)[0];
        gtk_tree_path_free(first);
        gtk_tree_path_free(last);
        return inside;
    };
    EXPECT_TRUE(run_until([&] { return in_view(400); }));
    gadget_state_set(LIST, 3);
    EXPECT_TRUE(run_until([&] { return in_view(3); }));
}

// The list as the screen shows it: below the rows only background, and
// somewhere in the first row a pixel in the text colour.
struct Painted {
    unsigned long background;
    bool text_found;
};

class ListLook {
public:
    explicit ListLook(Desktop& desktop, GtkWidget* window) : desktop_(desktop), window_(window) {}
    Painted look(unsigned long text_colour) {
        wait_drawn(window_);
        const ScreenBox window_box = desktop_.box(window_);
        const ScreenPoint row = row_point(LIST, 0);
        const ScreenBox list_box = screen_box(GTK_WIDGET(tree_view_of(LIST)));
        Painted painted{desktop_.pixel(window_, list_box.x - window_box.x + list_box.width / 2,
                                       list_box.y - window_box.y + list_box.height - 10),
                        false};
        for (int y = row.y - 6; y <= row.y + 6 && !painted.text_found; ++y)
            for (int x = row.x - 18; x < row.x + 150 && !painted.text_found; ++x)
                painted.text_found = near(desktop_.pixel(window_, x - window_box.x, y - window_box.y), text_colour);
        return painted;
    }

private:
    static bool near(unsigned long a, unsigned long b) {
        for (int shift = 0; shift < 24; shift += 8) {
            const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
            if (d > 0x30 || d < -0x30) return false;
        }
        return true;
    }
    Desktop& desktop_;
    GtkWidget* window_;
};

TEST_F(ListGadgetTest, FrontAndBackColoursPaintTheList) {
    add_rows({u"WWWW MMMM WWWW", u"second"});
    ListLook screen(desktop, window_);
    const Painted theme = screen.look(0xFFFAF0);
    EXPECT_NE(theme.background, 0x454545ul);

    EXPECT_EQ(gadget_color_get(LIST, GADGET_COLOR_BACK), -1);
    gadget_color_set(LIST, GADGET_COLOR_BACK, 0x454545);
    gadget_color_set(LIST, GADGET_COLOR_FRONT, 0xF0FAFF);  // 0x00BBGGRR: on screen 0xFFFAF0
    EXPECT_EQ(gadget_color_get(LIST, GADGET_COLOR_BACK), 0x454545);
    EXPECT_EQ(gadget_color_get(LIST, GADGET_COLOR_FRONT), 0xF0FAFF);
    EXPECT_EQ(gadget_color_get(LIST, 3), -1);
    const Painted coloured = screen.look(0xFFFAF0);
    EXPECT_EQ(coloured.background, 0x454545ul);
    EXPECT_TRUE(coloured.text_found);

    // Alone, the front colour paints on the theme's background.
    gadget_color_set(LIST, GADGET_COLOR_BACK, -1);
    gadget_color_set(LIST, GADGET_COLOR_FRONT, 0x0000FF);
    const Painted front_only = screen.look(0xFF0000);
    EXPECT_EQ(front_only.background, theme.background);
    EXPECT_TRUE(front_only.text_found);
}

}  // namespace
