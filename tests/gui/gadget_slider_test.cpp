// The slider gadget on a real trackbar: its range and state, the upside-down
// reading of a vertical slider, and the events its movement produces.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "runtime/gui/event.h"
#include "runtime/gui/gadget.h"
#include "tests/gui/gadget_support.h"

namespace {

constexpr ObjectNumber SLIDER = 1;

using SliderGadgetTest = GadgetWindowTest;

int position_of(HWND slider) { return static_cast<int>(SendMessageW(slider, TBM_GETPOS, 0, 0)); }

TEST_F(SliderGadgetTest, ASliderIsATrackbarControl) {
    auto slider = reinterpret_cast<HWND>(gadget_track_bar(SLIDER, 5, 5, 190, 40, 10, 100));
    ASSERT_NE(slider, nullptr);
    wchar_t name[64] = L"";
    GetClassNameW(slider, name, 64);
    EXPECT_STREQ(name, L"msctls_trackbar32");
    EXPECT_EQ(GetWindowLongPtrW(slider, GWL_STYLE) & 0x50010000, 0x50010000);
}

TEST_F(SliderGadgetTest, AVerticalSliderReadsFromTheBottom) {
    auto slider = reinterpret_cast<HWND>(gadget_track_bar(SLIDER, 5, 5, 40, 190, 0, 100, TBS_VERT));
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(gadget_state_get(SLIDER), 0);
    EXPECT_EQ(position_of(slider), 100);  // the thumb sits at the bottom
    gadget_state_set(SLIDER, 30);
    EXPECT_EQ(position_of(slider), 70);
    EXPECT_EQ(gadget_state_get(SLIDER), 30);
    // A new bound keeps the state, so the thumb moves.
    gadget_attribute_set(SLIDER, GADGET_ATTRIBUTE_MAXIMUM, 50);
    EXPECT_EQ(gadget_state_get(SLIDER), 30);
    EXPECT_EQ(position_of(slider), 20);
}

TEST_F(SliderGadgetTest, ABurstOfMovesUnreadCostsOneEvent) {
    auto slider = reinterpret_cast<HWND>(gadget_track_bar(SLIDER, 5, 5, 190, 40, 0, 100));
    gadget_list_view(0, 5, 60, 190, 100);  // another gadget's event stays separate
    SetFocus(slider);
    for (int i = 0; i < 5; ++i) {
        SendMessageW(slider, WM_KEYDOWN, VK_RIGHT, 0);
        SendMessageW(slider, WM_KEYUP, VK_RIGHT, 0);
    }
    EXPECT_EQ(gadget_state_get(SLIDER), 5);
    auto events = gadget_events();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].object, SLIDER);
    EXPECT_EQ(events[0].window, WINDOW);
    EXPECT_EQ(events[0].subtype, 0);

    // Read in between, every move is an event of its own.
    int seen = 0;
    for (int i = 0; i < 3; ++i) {
        SendMessageW(slider, WM_KEYDOWN, VK_LEFT, 0);
        seen += static_cast<int>(gadget_events().size());
    }
    EXPECT_EQ(seen, 3);
    EXPECT_EQ(gadget_state_get(SLIDER), 2);
}

}  // namespace
