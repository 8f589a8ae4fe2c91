// The list gadget on a real "ListBox" in a runtime window: items and their
// texts and data, selection in single and multiple-selection lists, colours as
// they appear on screen, and the events a user's keys and mouse produce.
#include <windows.h>
#include <windowsx.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "runtime/gui/event.h"
#include "runtime/gui/gadget.h"
#include "runtime/text/text.h"
#include "tests/gui/gadget_support.h"

namespace {

constexpr ObjectNumber LIST = 0;

class ListGadgetTest : public GadgetWindowTest {
protected:
    void SetUp() override {
        GadgetWindowTest::SetUp();
        list_ = reinterpret_cast<HWND>(gadget_list_view(LIST, 10, 10, 300, 200, flags_));
        ASSERT_NE(list_, nullptr);
    }
    void add_rows(std::initializer_list<const char16_t*> rows) {
        for (const char16_t* row : rows) gadget_item_add(LIST, -1, row);
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

class MultipleListTest : public ListGadgetTest {
protected:
    void SetUp() override {
        flags_ = LBS_MULTIPLESEL;
        ListGadgetTest::SetUp();
    }
};

void expect_multiple_selection_states() {
    gadget_item_add(LIST, -1, u"a");
    gadget_item_add(LIST, -1, u"b");
    gadget_item_add(LIST, -1, u"c");
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

TEST_F(ExtendedListTest, StatesOfAMultipleSelection) { expect_multiple_selection_states(); }
TEST_F(MultipleListTest, StatesOfAMultipleSelection) { expect_multiple_selection_states(); }

// The list as the screen shows it: below the rows only background, and
// somewhere in the first row a pixel in the text colour.
struct Painted {
    COLORREF background;
    bool text_found;
};

Painted look_at(HWND list, COLORREF text_colour) {
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ERASENOW);
    drain_events();
    RECT client{};
    GetClientRect(list, &client);
    Painted painted{pixel_at(list, client.right / 2, client.bottom - 10), false};
    RECT row{};
    SendMessageW(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
    for (int y = row.top; y < row.bottom && !painted.text_found; ++y)
        for (int x = row.left; x < row.right && !painted.text_found; ++x)
            painted.text_found = colour_near(pixel_at(list, x, y), text_colour, 0x30);
    return painted;
}

TEST_F(ListGadgetTest, FrontAndBackColoursPaintTheList) {
    add_rows({u"WWWW MMMM WWWW", u"second"});
    EXPECT_EQ(look_at(list_, 0xF0FAFF).background, GetSysColor(COLOR_WINDOW));

    EXPECT_EQ(gadget_color_get(LIST, GADGET_COLOR_BACK), -1);
    gadget_color_set(LIST, GADGET_COLOR_BACK, 0x454545);
    gadget_color_set(LIST, GADGET_COLOR_FRONT, 0xF0FAFF);
    EXPECT_EQ(gadget_color_get(LIST, GADGET_COLOR_BACK), 0x454545);
    EXPECT_EQ(gadget_color_get(LIST, GADGET_COLOR_FRONT), 0xF0FAFF);
    EXPECT_EQ(gadget_color_get(LIST, 3), -1);
    Painted coloured = look_at(list_, 0xF0FAFF);
    EXPECT_EQ(coloured.background, 0x454545u);
    EXPECT_TRUE(coloured.text_found);
}

TEST_F(ListGadgetTest, FrontColourAlonePaintsOnTheWindowColour) {
    add_rows({u"WWWW MMMM WWWW"});
    gadget_color_set(LIST, GADGET_COLOR_FRONT, 0x0000FF);
    Painted painted = look_at(list_, 0x0000FF);
    EXPECT_EQ(painted.background, GetSysColor(COLOR_WINDOW));
    EXPECT_TRUE(painted.text_found);
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

std::vector<int> subtypes(const std::vector<SeenEvent>& events) {
    std::vector<int> result;
    for (const SeenEvent& event : events) {
        EXPECT_EQ(event.object, LIST);
        EXPECT_EQ(event.window, GadgetWindowTest::WINDOW);
        result.push_back(event.subtype);
    }
    return result;
}

// Dispatches until the input sent has done what `arrived` checks (at most a
// second); the gadget events on the way, in order.
std::vector<SeenEvent> gadget_events_until(const std::function<bool()>& arrived) {
    std::vector<SeenEvent> seen;
    for (int i = 0; i < 100 && !arrived(); ++i) {
        Sleep(10);
        for (const SeenEvent& event : gadget_events()) seen.push_back(event);
    }
    for (const SeenEvent& event : gadget_events()) seen.push_back(event);
    return seen;
}

TEST_F(ListGadgetTest, ARealClickOnTheSelectedRowReportsItsReleaseAfterWhatCameBetween) {
    add_rows({u"a", u"b", u"c"});
    gadget_state_set(LIST, 1);
    SetForegroundWindow(window_handle_);
    SetFocus(list_);
    gadget_events();
    const LPARAM centre = centre_of_row(list_, 1);
    const POINT row{GET_X_LPARAM(centre), GET_Y_LPARAM(centre)};
    mouse_button_at(list_, row, MOUSEEVENTF_LEFTDOWN);
    gadget_events_until([&] { return GetCapture() == list_; });
    ASSERT_EQ(GetCapture(), list_);

    // The row is selected already, so no selection change reports the click:
    // the release alone does, and an event queued meanwhile must not hide it.
    constexpr ObjectNumber OTHER = 7;
    event_post(EVENT_GADGET, OTHER, GadgetWindowTest::WINDOW, 0);
    mouse_button_at(list_, row, MOUSEEVENTF_LEFTUP);
    const std::vector<SeenEvent> seen = gadget_events_until([&] { return GetCapture() != list_; });
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].object, OTHER);
    EXPECT_EQ(seen[1].object, LIST);
    EXPECT_EQ(seen[1].window, GadgetWindowTest::WINDOW);
    EXPECT_EQ(seen[1].subtype, 0);
    EXPECT_EQ(gadget_state_get(LIST), 1);
}

TEST_F(ListGadgetTest, PressAndDragBeyondTheThresholdStartsADrag) {
    add_rows({u"a", u"b", u"c"});
    SetFocus(list_);
    const int threshold_x = GetSystemMetrics(SM_CXDRAG);
    const int threshold_y = GetSystemMetrics(SM_CYDRAG);
    LPARAM point = centre_of_row(list_, 0);
    SendMessageW(list_, WM_LBUTTONDOWN, MK_LBUTTON, point);
    gadget_events();
    SendMessageW(list_, WM_MOUSEMOVE, MK_LBUTTON, moved(point, threshold_x, -threshold_y));
    EXPECT_TRUE(gadget_events().empty());  // not beyond the threshold yet
    EXPECT_EQ(GetCapture(), list_);
    SendMessageW(list_, WM_MOUSEMOVE, MK_LBUTTON, moved(point, threshold_x + 1, 0));
    EXPECT_NE(GetCapture(), list_);
    EXPECT_EQ(subtypes(gadget_events()), std::vector<int>{GADGET_DRAG_START});
    // The press is over: neither further moves nor the release report anything.
    SendMessageW(list_, WM_MOUSEMOVE, MK_LBUTTON, moved(point, 40, 40));
    SendMessageW(list_, WM_LBUTTONUP, 0, moved(point, 40, 40));
    for (int subtype : subtypes(gadget_events())) EXPECT_NE(subtype, GADGET_DRAG_START);
}

TEST_F(ListGadgetTest, ACaptureTakenElsewhereEndsThePress) {
    add_rows({u"a"});
    LPARAM point = centre_of_row(list_, 0);
    SendMessageW(list_, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SetCapture(window_handle_);
    ReleaseCapture();
    SendMessageW(list_, WM_MOUSEMOVE, 0, moved(point, 40, 0));
    for (int subtype : subtypes(gadget_events())) EXPECT_NE(subtype, GADGET_DRAG_START);
}

TEST_F(ExtendedListTest, PressOnASelectedRowKeepsTheSelectionForTheDrag) {
    add_rows({u"a", u"b", u"c"});
    gadget_item_state_set(LIST, 0, 1);
    gadget_item_state_set(LIST, 2, 1);
    LPARAM point = centre_of_row(list_, 2);
    SendMessageW(list_, WM_LBUTTONDOWN, MK_LBUTTON, point);
    EXPECT_EQ(gadget_item_state_get(LIST, 0), 1);  // swallowed: the selection stays
    EXPECT_EQ(gadget_item_state_get(LIST, 2), 1);
    SendMessageW(list_, WM_MOUSEMOVE, MK_LBUTTON, moved(point, 0, GetSystemMetrics(SM_CYDRAG) + 1));
    EXPECT_EQ(subtypes(gadget_events()), std::vector<int>{GADGET_DRAG_START});
    SendMessageW(list_, WM_LBUTTONUP, 0, point);
    EXPECT_EQ(gadget_item_state_get(LIST, 0), 1);
    EXPECT_EQ(gadget_item_state_get(LIST, 2), 1);
}

TEST_F(ExtendedListTest, PressOnAnUnselectedRowSelectsItAsUsual) {
    add_rows({u"a", u"b", u"c"});
    gadget_item_state_set(LIST, 0, 1);
    LPARAM point = centre_of_row(list_, 1);
    SendMessageW(list_, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageW(list_, WM_MOUSEMOVE, MK_LBUTTON, moved(point, 0, 60));
    SendMessageW(list_, WM_LBUTTONUP, 0, moved(point, 0, 60));
    EXPECT_EQ(gadget_item_state_get(LIST, 0), 0);
    EXPECT_EQ(gadget_item_state_get(LIST, 1), 1);
    for (int subtype : subtypes(gadget_events())) EXPECT_NE(subtype, GADGET_DRAG_START);
}

}  // namespace
