// What the toolbar tests of every back end share: toolbar 0 on window 0, a
// row of buttons on it, and the menu events its clicks make. The runtime is
// started once for the program by toolbar_behaviour_test.cpp.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "resources/toolbar_icons.h"
#include "runtime/gui/event.h"
#include "runtime/gui/toolbar.h"
#include "runtime/gui/window.h"
#include "runtime/image/image.h"
#include "tests/gui/window_events.h"
#include "tests/support/person.h"

inline constexpr ObjectNumber WINDOW = 0;
inline constexpr ObjectNumber TOOLBAR = 0;

// The menu items of the menu events delivered meanwhile, in order.
inline std::vector<int> menu_items() {
    settle();
    std::vector<int> items;
    while (const int kind = event_wait_timeout(0))
        if (kind == EVENT_MENU && event_window() == WINDOW) items.push_back(event_menu_item());
    return items;
}

// One window for the suite: under Wine without a window manager, closing a
// window that was once active costs two seconds.
class ToolbarBehaviourTest : public ::testing::Test {
protected:
    static void TearDownTestSuite() { window_close(-1); }
    void SetUp() override {
        if (!window_handle(WINDOW)) {
            ASSERT_NE(window_open(WINDOW, 0, 0, 600, 300, u"Toolbar", MAIN_FLAGS), 0);
        }
        ASSERT_NE(toolbar_create(TOOLBAR, window_handle(WINDOW)), 0);
    }
    void TearDown() override {
        toolbar_free(-1);
        menu_items();
    }
    // Button 100 with the first icon, a separator, 101 with the second, 102
    // without a picture, 103 a toggle button with the third.
    void build() {
        for (int n = 0; n < 3; ++n) {
            const std::intptr_t image = image_catch(n, toolbar_icon_data(n), toolbar_icon_size(n));
            ASSERT_NE(image, 0);
            ASSERT_NE(toolbar_image_button(n == 2 ? 103 : 100 + n, image, n == 2), 0);
            if (n == 0) toolbar_separator();
            if (n == 1) {
                ASSERT_NE(toolbar_image_button(102, 0), 0);
            }
        }
        menu_items();
    }
};
