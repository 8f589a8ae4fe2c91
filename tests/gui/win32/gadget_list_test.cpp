// The list gadget on a real "ListBox", beside the behaviour every back end
// shares: selection in multiple-selection lists, the system's colours, and
// the press that holds the mouse for a drag.
#include <windows.h>
#include <windowsx.h>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "runtime/gui/event.h"
#include "runtime/gui/gadget.h"
#include "tests/gui/win32/gadget_support.h"

namespace {

constexpr ObjectNumber LIST = 0;

class ListGadgetTest : public GadgetWindowTest {
protected:
    void SetUp() override {
        GadgetWindowTest::SetUp();
        list_ = reinterpret_cast<HWND>(gadget_list_view(LIST, 10, 10, 300, 200, flags_));
        ASSERT_NE(list_, nullptr);
    }
    int flags_ = 0;
    HWND list_ = nullptr;
};

class ExtendedListTest : public ListGadgetTest {
protected:
    void SetUp() override {
        flags_ = LBS_EXTENDEDSEL;
        ListGadgetTest::SetUp();
    }
};

// With the extended keys or without them, the program's selection reads alike.
TEST_F(ListGadgetTest, StatesOfAMultipleSelection) {
    for (const auto& [style, name] : {std::pair{LBS_EXTENDEDSEL, "extended"}, std::pair{LBS_MULTIPLESEL, "multiple"}}) {
        SCOPED_TRACE(name);
        ASSERT_NE(gadget_list_view(LIST, 10, 10, 300, 200, style), 0);
        add_rows(LIST, {u"a", u"b", u"c"});
        EXPECT_EQ(gadget_state_get(LIST), -1);
        gadget_item_state_set(LIST, 1, 1);
        gadget_item_state_set(LIST, 2, 1);
        EXPECT_EQ(gadget_state_get(LIST), 1);  // the first selected
        gadget_state_set(LIST, 0);             // only that one
        EXPECT_EQ(gadget_item_state_get(LIST, 0), 1);
        EXPECT_EQ(gadget_item_state_get(LIST, 1), 0);
        EXPECT_EQ(gadget_item_state_get(LIST, 2), 0);
        gadget_item_state_set(LIST, 2, 1);
        gadget_item_state_set(LIST, 0, 0);
        EXPECT_EQ(gadget_state_get(LIST), 2);
        gadget_state_set(LIST, -1);
        EXPECT_EQ(gadget_state_get(LIST), -1);
        EXPECT_EQ(gadget_item_state_get(LIST, 2), 0);
    }
}

// Its own colours are the program's (checked alike on every back end);
// without them a list box shows the system's.
TEST_F(ListGadgetTest, WithoutColoursTheListShowsTheSystemWindowColour) {
    add_rows(LIST, {u"WWWW MMMM WWWW"});
    RedrawWindow(list_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ERASENOW);
    drain_events();
    RECT client{};
    GetClientRect(list_, &client);
    EXPECT_EQ(pixel_at(list_, client.right / 2, client.bottom - 10), GetSysColor(COLOR_WINDOW));
}

// Mouse input as the system delivers it to the control.
LPARAM centre_of_row(HWND list, int row) {
    RECT rect{};
    SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
    return MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

LPARAM moved(LPARAM point, int dx, int dy) {
    return MAKELPARAM(GET_X_LPARAM(point) + dx, GET_Y_LPARAM(point) + dy);
}

// The list box holds the mouse from the press until a drag starts, or until
// another window takes the mouse, which ends the press.
TEST_F(ListGadgetTest, ThePressHoldsTheMouseUntilADragStartsOrACaptureElsewhere) {
    add_rows(LIST, {u"a", u"b", u"c"});
    SetFocus(list_);
    LPARAM point = centre_of_row(list_, 0);
    SendMessageW(list_, WM_LBUTTONDOWN, MK_LBUTTON, point);
    gadget_events();
    EXPECT_EQ(GetCapture(), list_);
    SendMessageW(list_, WM_MOUSEMOVE, MK_LBUTTON, moved(point, GetSystemMetrics(SM_CXDRAG) + 1, 0));
    EXPECT_NE(GetCapture(), list_);
    EXPECT_EQ(subtypes_from(LIST, gadget_events()), std::vector<int>{GADGET_DRAG_START});

    SendMessageW(list_, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SetCapture(test_window());
    ReleaseCapture();
    SendMessageW(list_, WM_MOUSEMOVE, 0, moved(point, 40, 0));
    for (int subtype : subtypes_from(LIST, gadget_events())) EXPECT_NE(subtype, GADGET_DRAG_START);
}

TEST_F(ExtendedListTest, PressOnASelectedRowKeepsTheSelectionForTheDrag) {
    add_rows(LIST, {u"a", u"b", u"c"});
    gadget_item_state_set(LIST, 0, 1);
    gadget_item_state_set(LIST, 2, 1);
    LPARAM point = centre_of_row(list_, 2);
    SendMessageW(list_, WM_LBUTTONDOWN, MK_LBUTTON, point);
    EXPECT_EQ(gadget_item_state_get(LIST, 0), 1);  // swallowed: the selection stays
    EXPECT_EQ(gadget_item_state_get(LIST, 2), 1);
    SendMessageW(list_, WM_MOUSEMOVE, MK_LBUTTON, moved(point, 0, GetSystemMetrics(SM_CYDRAG) + 1));
    EXPECT_EQ(subtypes_from(LIST, gadget_events()), std::vector<int>{GADGET_DRAG_START});
    SendMessageW(list_, WM_LBUTTONUP, 0, point);
    EXPECT_EQ(gadget_item_state_get(LIST, 0), 1);
    EXPECT_EQ(gadget_item_state_get(LIST, 2), 1);
}

TEST_F(ExtendedListTest, PressOnAnUnselectedRowSelectsItAsUsual) {
    add_rows(LIST, {u"a", u"b", u"c"});
    gadget_item_state_set(LIST, 0, 1);
    LPARAM point = centre_of_row(list_, 1);
    SendMessageW(list_, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageW(list_, WM_MOUSEMOVE, MK_LBUTTON, moved(point, 0, 60));
    SendMessageW(list_, WM_LBUTTONUP, 0, moved(point, 0, 60));
    EXPECT_EQ(gadget_item_state_get(LIST, 0), 0);
    EXPECT_EQ(gadget_item_state_get(LIST, 1), 1);
    for (int subtype : subtypes_from(LIST, gadget_events())) EXPECT_NE(subtype, GADGET_DRAG_START);
}

}  // namespace
