// Toolbars as a person meets them, the same on every back end: what a
// button made from a handle that is no live image does.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "resources/toolbar_icons.h"
#include "runtime/gui/event.h"
#include "runtime/gui/toolbar.h"
#include "runtime/gui/window.h"
#include "runtime/image/image.h"
#include "tests/gui/toolbar_suite.h"
#include "tests/gui/person.h"

namespace {

constexpr ObjectNumber WINDOW = 0;
constexpr ObjectNumber TOOLBAR = 0;
constexpr std::uint32_t MAIN_FLAGS = 0xCF0001;

// The menu items of the menu events delivered meanwhile, in order.
std::vector<int> menu_items() {
    settle();
    std::vector<int> items;
    while (const int kind = event_wait_timeout(0))
        if (kind == EVENT_MENU && event_window() == WINDOW) items.push_back(event_menu_item());
    return items;
}

class ToolbarBehaviourTest : public ToolbarSuite {
protected:
    void SetUp() override {
        ASSERT_NE(window_open(WINDOW, 0, 0, 600, 300, u"Toolbar", MAIN_FLAGS), 0);
        ASSERT_NE(toolbar_create(TOOLBAR, window_handle(WINDOW)), 0);
    }
    void TearDown() override {
        window_close(-1);
        menu_items();
    }
};

TEST_F(ToolbarBehaviourTest, AHandleThatIsNoLiveImageMakesAWorkingButtonWithoutPicture) {
    const std::intptr_t freed = image_catch(0, toolbar_icon_data(0), toolbar_icon_size(0));
    ASSERT_NE(freed, 0);
    image_free(0);
    EXPECT_NE(toolbar_image_button(100, freed), 0);
    const std::intptr_t image = image_catch(1, toolbar_icon_data(1), toolbar_icon_size(1));
    EXPECT_NE(toolbar_image_button(101, image), 0);
    menu_items();

    click_toolbar_item(TOOLBAR, 0);
    EXPECT_EQ(menu_items(), std::vector<int>{100});
    click_toolbar_item(TOOLBAR, 1);
    EXPECT_EQ(menu_items(), std::vector<int>{101});
}

}  // namespace
