// Gadgets under Windows, beside the behaviour every back end shares: the
// controls they are and their registration in the window, foreign controls'
// notifications, the cleanup when a control is destroyed, the thread's tool-tip
// window, and the brush cache.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "runtime/gui/event.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/win32/brush_cache.h"
#include "runtime/gui/win32/gui_win32.h"
#include "runtime/gui/window.h"
#include "tests/gui/win32/gadget_support.h"
#include "tests/support/deadlock_watch.h"
#include "tests/support/win32_dialogs.h"

namespace {

using GadgetTest = GadgetWindowTest;

TEST_F(GadgetTest, RegistrationPutsTheControlIntoTheWindowUnderItsNumber) {
    auto handle = reinterpret_cast<HWND>(gadget_list_view(3, 5, 30, 200, 150));
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(GetParent(handle), test_window());
    EXPECT_EQ(class_of(handle), L"ListBox");
    EXPECT_EQ(GetWindowLongPtrW(handle, GWLP_ID), 3);
    EXPECT_EQ(reinterpret_cast<ObjectNumber>(GetPropW(handle, GADGET_ID_PROPERTY)), 3);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(handle, WM_GETFONT, 0, 0)), GetStockObject(DEFAULT_GUI_FONT));
    // The list shows its scroll bars only when it needs them.
    const LONG_PTR list_style = 0x50330141 & ~(WS_VSCROLL | WS_HSCROLL);
    EXPECT_EQ(GetWindowLongPtrW(handle, GWL_STYLE) & list_style, list_style);
    for (int i = 0; i < 40; ++i) gadget_item_add(3, -1, u"row");
    EXPECT_TRUE(GetWindowLongPtrW(handle, GWL_STYLE) & WS_VSCROLL);
    EXPECT_TRUE(GetWindowLongPtrW(handle, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    // A dynamic number is the control's identifier and "QX_ID" too.
    const auto dynamic = static_cast<ObjectNumber>(gadget_track_bar(DYNAMIC_ID, 0, 200, 100, 30, 0, 10));
    EXPECT_EQ(GetWindowLongPtrW(handle_of(dynamic), GWLP_ID), dynamic);
    EXPECT_EQ(reinterpret_cast<ObjectNumber>(GetPropW(handle_of(dynamic), GADGET_ID_PROPERTY)), dynamic);
}

int position_of(HWND slider) { return static_cast<int>(SendMessageW(slider, TBM_GETPOS, 0, 0)); }

TEST_F(GadgetTest, ASliderIsATrackbarReadUpsideDownWhenVertical) {
    auto slider = reinterpret_cast<HWND>(gadget_track_bar(1, 5, 5, 40, 190, 0, 100, TBS_VERT));
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(class_of(slider), L"msctls_trackbar32");
    EXPECT_EQ(GetWindowLongPtrW(slider, GWL_STYLE) & 0x50010000, 0x50010000);
    EXPECT_EQ(position_of(slider), 100);  // state 0: the thumb sits at the bottom
    gadget_state_set(1, 30);
    EXPECT_EQ(position_of(slider), 70);
    // A new bound keeps the state, so the thumb moves.
    gadget_attribute_set(1, GADGET_ATTRIBUTE_MAXIMUM, 50);
    EXPECT_EQ(position_of(slider), 20);
}

TEST_F(GadgetTest, NotificationsOfAForeignControlWithTheSameIdentifierAreNotTheGadgets) {
    gadget_list_view(0, 0, 0, 100, 100);
    HWND foreign = CreateWindowExW(0, L"ListBox", L"", WS_CHILD | WS_VISIBLE | LBS_NOTIFY, 0, 110, 100, 100,
                                   test_window(), reinterpret_cast<HMENU>(0), GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(foreign, nullptr);
    SendMessageW(foreign, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"a"));
    SendMessageW(foreign, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"b"));
    SendMessageW(foreign, WM_KEYDOWN, VK_DOWN, 0);
    // Not the list kind's selection event (subtype 0): the window reports the
    // bare notification code.
    auto events = gadget_events();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].subtype, LBN_SELCHANGE);
}

TEST_F(GadgetTest, ClosingTheWindowGivesItsGadgetsBrushesBack) {
    gadget_list_view(0, 0, 0, 200, 100);
    gadget_color_set(0, GADGET_COLOR_BACK, 0x123456);
    EXPECT_EQ(brush_cache_count(0x123456), 1);
    window_close(WINDOW);
    EXPECT_EQ(brush_cache_count(0x123456), 0);
}

// Creating a control sends messages to its window, whose handlers look the
// window up; destroying a window sends messages to its controls, whose
// handlers look the gadget up. Neither thread may wait for the other's table.
TEST_F(GadgetTest, GadgetsMadeWhileAnotherThreadOpensAndClosesWindowsNeverDeadlock) {
    const RaceMade made = make_while_windows_close(
        [](ObjectNumber list) { return gadget_list_view(list, 0, 0, 100, 100) != 0; }, [] {},
        "gadgets made while windows close");
    EXPECT_EQ(made.maker, RACE_ROUNDS);
    EXPECT_EQ(made.closer, RACE_ROUNDS);
    EXPECT_EQ(gadget_handle(RACE_MAKER), 0);
    EXPECT_EQ(gadget_handle(RACE_CLOSER), 0);
}

BOOL CALLBACK find_tooltip(HWND hwnd, LPARAM found) {
    if (class_of(hwnd) != L"tooltips_class32") return TRUE;
    *reinterpret_cast<HWND*>(found) = hwnd;
    return FALSE;
}

HWND thread_tooltip_window() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), find_tooltip, reinterpret_cast<LPARAM>(&found));
    return found;
}

TEST_F(GadgetTest, OneToolTipWindowPerThreadHoldsAToolPerGadgetWithATip) {
    gadget_track_bar(1, 5, 5, 190, 40, 0, 100);
    gadget_list_view(0, 5, 50, 190, 100);
    gadget_tooltip(1, u"Volume: 75");
    HWND tooltip = thread_tooltip_window();
    ASSERT_NE(tooltip, nullptr);
    const LONG_PTR always_no_prefix = TTS_ALWAYSTIP | TTS_NOPREFIX;
    EXPECT_EQ(GetWindowLongPtrW(tooltip, GWL_STYLE) & always_no_prefix, always_no_prefix);
    EXPECT_TRUE(GetWindowLongPtrW(tooltip, GWL_EXSTYLE) & WS_EX_TOPMOST);

    gadget_tooltip(1, u"Volume: 80");
    gadget_tooltip(0, u"tracks");
    EXPECT_EQ(thread_tooltip_window(), tooltip);  // one per thread
    EXPECT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 2);

    // A destroyed gadget leaves no tool behind (the pop-up's slider comes and goes).
    gadget_track_bar(1, 5, 5, 190, 40, 0, 100);
    EXPECT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 1);
    gadget_tooltip(77, u"nobody");
    EXPECT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 1);
}

TEST_F(GadgetTest, EqualBackColoursShareOneBrushUntilTheLastGoes) {
    const int before = brush_cache_size();
    gadget_list_view(0, 0, 0, 200, 100);
    gadget_list_view(1, 0, 110, 200, 100);
    gadget_color_set(0, GADGET_COLOR_BACK, 0x454545);
    gadget_color_set(1, GADGET_COLOR_BACK, 0x454545);
    EXPECT_EQ(brush_cache_size(), before + 1);
    EXPECT_EQ(brush_cache_count(0x454545), 2);

    // The brush the window gets when each list asks for its colours.
    auto brush_for = [&](ObjectNumber list) {
        HDC dc = GetDC(handle_of(list));
        auto brush = reinterpret_cast<HBRUSH>(SendMessageW(test_window(), WM_CTLCOLORLISTBOX,
                                                           reinterpret_cast<WPARAM>(dc),
                                                           reinterpret_cast<LPARAM>(handle_of(list))));
        ReleaseDC(handle_of(list), dc);
        return brush;
    };
    HBRUSH shared = brush_for(0);
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(brush_for(1), shared);

    DestroyWindow(handle_of(0));
    EXPECT_EQ(brush_cache_count(0x454545), 1);
    EXPECT_EQ(GetObjectType(shared), static_cast<DWORD>(OBJ_BRUSH));
    gadget_color_set(1, GADGET_COLOR_BACK, -1);  // back to default gives the brush back
    EXPECT_EQ(brush_cache_count(0x454545), 0);
    EXPECT_EQ(brush_cache_size(), before);
    EXPECT_EQ(GetObjectType(shared), 0u);
}

TEST_F(GadgetTest, NumbersWithoutAGadgetAndSlidersTakeNoBrush) {
    gadget_track_bar(1, 0, 0, 100, 30, 0, 10);
    for (ObjectNumber number : {ObjectNumber{9}, ObjectNumber{-5}, ObjectNumber{123456789}})
        gadget_color_set(number, GADGET_COLOR_BACK, 0x00FF00);
    gadget_color_set(1, GADGET_COLOR_BACK, 0x00FF00);
    EXPECT_EQ(brush_cache_count(0x00FF00), 0);
}

}  // namespace
