// What the program's calls leave in a list's items, texts, data and
// selection and in a slider's range and state, what numbers without a gadget
// answer, and what a number given again does, the same on every back end.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/gui/event.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/window.h"
#include "runtime/text/text.h"
#include "tests/gui/gadget_window.h"
#include "tests/support/person.h"

namespace {

constexpr ObjectNumber LIST = 0;
constexpr ObjectNumber SLIDER = 1;

class ListStateTest : public GadgetWindowTest {
protected:
    void SetUp() override {
        GadgetWindowTest::SetUp();
        ASSERT_NE(gadget_list_view(LIST, 10, 10, 300, 200), 0);
    }
};

TEST_F(ListStateTest, StateIsMinusOneWithoutSelectionAndAfterClear) {
    EXPECT_EQ(gadget_state_get(LIST), -1);
    add_rows(LIST, {u"a", u"b", u"c"});
    EXPECT_EQ(gadget_state_get(LIST), -1);
    gadget_state_set(LIST, 2);
    EXPECT_EQ(gadget_state_get(LIST), 2);
    gadget_clear(LIST);
    EXPECT_EQ(gadget_item_count(LIST), 0);
    EXPECT_EQ(gadget_state_get(LIST), -1);
}

TEST_F(ListStateTest, ItemsGoWhereTheyAreAsked) {
    gadget_item_add(LIST, -1, u"second");
    gadget_item_add(LIST, -1, u"third");
    gadget_item_add(LIST, 0, u"first");
    gadget_item_add(LIST, 2, u"between");
    gadget_item_add(LIST, -1, nullptr);
    gadget_item_add(LIST, -1, u"\u00e9t\u00e9 \u266b \U0001F3B5");
    EXPECT_EQ(rows_of(LIST), (std::vector<std::u16string>{u"first", u"second", u"between", u"third", u"",
                                                    u"\u00e9t\u00e9 \u266b \U0001F3B5"}));
    gadget_item_remove(LIST, 2);
    gadget_item_remove(LIST, 17);
    gadget_item_remove(LIST, -1);
    EXPECT_EQ(rows_of(LIST), (std::vector<std::u16string>{u"first", u"second", u"third", u"",
                                                    u"\u00e9t\u00e9 \u266b \U0001F3B5"}));
    // Beyond the last item, or before the first: an empty text.
    EXPECT_EQ(text(gadget_item_text_get(LIST, 5)), u"");
    EXPECT_EQ(text(gadget_item_text_get(LIST, -1)), u"");
}

TEST_F(ListStateTest, TextsAppendedTogetherFollowTheRowsInOrder) {
    gadget_item_add(LIST, -1, u"first");
    const char16_t* texts[] = {u"second", nullptr, u"\u00e9t\u00e9"};
    gadget_items_append(LIST, texts, 3);
    gadget_items_append(LIST, texts, 0);
    gadget_items_append(LIST, texts, -4);
    gadget_items_append(LIST, nullptr, 3);
    gadget_items_append(99, texts, 3);  // no such gadget
    EXPECT_EQ(rows_of(LIST), (std::vector<std::u16string>{u"first", u"second", u"", u"\u00e9t\u00e9"}));
    EXPECT_EQ(gadget_item_count(LIST), 4);
}

TEST_F(ListStateTest, ItemTextIsBuiltAtTheBuildersPosition) {
    std::u16string long_row(300, u'x');  // more than the builder holds at first
    add_rows(LIST, {u"row", long_row.c_str()});
    char16_t* variable = nullptr;
    int mark = text_builder_mark();
    text_builder_append(u"[");
    gadget_item_text_get(LIST, 0);
    text_builder_append(u"|");
    gadget_item_text_get(LIST, 1);
    gadget_item_text_get(LIST, 9);  // empty, adds nothing
    text_builder_append(u"]");
    text_builder_assign(&variable, mark);
    EXPECT_EQ(text(variable), u"[row|" + long_row + u"]");
    text_free(&variable);
    EXPECT_EQ(text_builder_mark(), mark);
}

TEST_F(ListStateTest, SettingAnItemsTextKeepsItsDataAndPlace) {
    add_rows(LIST, {u"a", u"b", u"c"});
    gadget_item_data_set(LIST, 1, 4242);
    gadget_item_data_set(LIST, 2, -7);
    gadget_item_text_set(LIST, 1, u"B");
    EXPECT_EQ(rows_of(LIST), (std::vector<std::u16string>{u"a", u"B", u"c"}));
    EXPECT_EQ(gadget_item_data_get(LIST, 1), 4242);
    EXPECT_EQ(gadget_item_data_get(LIST, 2), -7);
    gadget_item_text_set(LIST, 3, u"beyond");
    gadget_item_text_set(LIST, -1, u"before");
    EXPECT_EQ(rows_of(LIST), (std::vector<std::u16string>{u"a", u"B", u"c"}));
    EXPECT_EQ(gadget_item_data_get(LIST, 3), 0);
}

TEST_F(ListStateTest, SingleSelectionFollowsStateAndItemState) {
    add_rows(LIST, {u"a", u"b", u"c"});
    gadget_state_set(LIST, 1);
    EXPECT_EQ(gadget_item_state_get(LIST, 1), 1);
    EXPECT_EQ(gadget_item_state_get(LIST, 0), 0);
    gadget_item_state_set(LIST, 2, 1);
    EXPECT_EQ(gadget_state_get(LIST), 2);
    EXPECT_EQ(gadget_item_state_get(LIST, 1), 0);
    gadget_item_state_set(LIST, 0, 0);  // not the selected one: nothing changes
    EXPECT_EQ(gadget_state_get(LIST), 2);
    gadget_item_state_set(LIST, 2, 0);
    EXPECT_EQ(gadget_state_get(LIST), -1);
    gadget_state_set(LIST, 0);
    gadget_state_set(LIST, -1);
    EXPECT_EQ(gadget_state_get(LIST), -1);
    gadget_state_set(LIST, 1);
    gadget_state_set(LIST, 3);  // no such row: the selection stays
    EXPECT_EQ(gadget_state_get(LIST), 1);
    gadget_state_set(LIST, -7);
    EXPECT_EQ(gadget_state_get(LIST), 1);
}

TEST_F(ListStateTest, TextSelectsTheItemWithExactlyThatText) {
    add_rows(LIST, {u"Alpha", u"Beta", u"beta"});
    gadget_text_set(LIST, u"beta");
    EXPECT_EQ(gadget_state_get(LIST), 2);
    EXPECT_EQ(text(gadget_text_get(LIST)), u"beta");
    gadget_text_set(LIST, u"Beta");
    EXPECT_EQ(gadget_state_get(LIST), 1);
    gadget_text_set(LIST, u"Bet");
    EXPECT_EQ(gadget_state_get(LIST), 1);
    gadget_state_set(LIST, -1);
    EXPECT_EQ(text(gadget_text_get(LIST)), u"");
}

TEST_F(ListStateTest, MarksMoveWithTheirRowsAndGoWithThem) {
    add_rows(LIST, {u"a", u"b", u"c", u"d"});
    auto marks = [] {
        std::vector<int> seen;
        for (int i = 0; i < gadget_item_count(LIST); ++i) seen.push_back(gadget_item_mark_get(LIST, i));
        return seen;
    };
    gadget_item_mark_set(LIST, 1, GADGET_MARK_NOTICE, u"plays through the fallback");
    gadget_item_mark_set(LIST, 3, GADGET_MARK_PROBLEM);
    EXPECT_EQ(marks(), (std::vector<int>{0, 1, 0, 2}));

    gadget_item_add(LIST, 0, u"first");
    gadget_item_add(LIST, 3, u"between");
    gadget_item_add(LIST, -1, u"last");
    EXPECT_EQ(rows_of(LIST), (std::vector<std::u16string>{u"first", u"a", u"b", u"between", u"c", u"d", u"last"}));
    EXPECT_EQ(marks(), (std::vector<int>{0, 0, 1, 0, 0, 2, 0}));

    gadget_item_remove(LIST, 0);
    EXPECT_EQ(marks(), (std::vector<int>{0, 1, 0, 0, 2, 0}));
    gadget_item_remove(LIST, 1);  // the marked "b" goes, and its mark with it
    EXPECT_EQ(rows_of(LIST), (std::vector<std::u16string>{u"a", u"between", u"c", u"d", u"last"}));
    EXPECT_EQ(marks(), (std::vector<int>{0, 0, 0, 2, 0}));

    // A new text keeps the row's mark; a mark of none takes it away.
    gadget_item_text_set(LIST, 3, u"D");
    EXPECT_EQ(gadget_item_mark_get(LIST, 3), GADGET_MARK_PROBLEM);
    gadget_item_mark_set(LIST, 3, GADGET_MARK_NONE);
    gadget_item_mark_set(LIST, 0, GADGET_MARK_PROBLEM, u"");
    EXPECT_EQ(marks(), (std::vector<int>{2, 0, 0, 0, 0}));

    gadget_clear(LIST);
    add_rows(LIST, {u"a", u"b"});
    EXPECT_EQ(marks(), (std::vector<int>{0, 0}));
}

TEST_F(ListStateTest, MarksOfRowsThatDoNotExistReadNone) {
    add_rows(LIST, {u"a", u"b"});
    gadget_item_mark_set(LIST, 2, GADGET_MARK_PROBLEM);  // no such row yet
    gadget_item_mark_set(LIST, -1, GADGET_MARK_PROBLEM);
    gadget_item_mark_set(LIST, 0, 3);  // no such mark
    gadget_item_mark_set(LIST, 1, -1);
    add_rows(LIST, {u"c"});
    for (int row : {-1, 0, 1, 2, 3, 1000})
        EXPECT_EQ(gadget_item_mark_get(LIST, row), GADGET_MARK_NONE) << row;
}

// Row numbers far out of range answer as any row that does not exist, and a
// position without a row before it adds nothing.
TEST_F(ListStateTest, RowsFarOutOfRangeAnswerNothingAndChangeNothing) {
    add_rows(LIST, {u"a", u"b", u"c"});
    gadget_state_set(LIST, 1);
    gadget_item_data_set(LIST, 1, 77);
    for (const int row : {-100000, -2, 3, INT_MAX, INT_MIN}) {
        SCOPED_TRACE(row);
        gadget_item_add(LIST, row, u"nowhere");
        gadget_item_remove(LIST, row);
        gadget_item_text_set(LIST, row, u"nowhere");
        gadget_item_state_set(LIST, row, 1);
        gadget_item_data_set(LIST, row, 5);
        gadget_state_set(LIST, row);
        EXPECT_EQ(text(gadget_item_text_get(LIST, row)), u"");
        EXPECT_EQ(gadget_item_state_get(LIST, row), 0);
        EXPECT_EQ(gadget_item_data_get(LIST, row), 0);
    }
    EXPECT_EQ(rows_of(LIST), (std::vector<std::u16string>{u"a", u"b", u"c"}));
    EXPECT_EQ(gadget_state_get(LIST), 1);
    EXPECT_EQ(gadget_item_data_get(LIST, 1), 77);
    // The last row goes, then every row one by one; then nothing is left to remove.
    gadget_item_remove(LIST, 2);
    gadget_item_remove(LIST, 0);
    gadget_item_remove(LIST, 0);
    gadget_item_remove(LIST, 0);
    EXPECT_EQ(gadget_item_count(LIST), 0);
    EXPECT_EQ(gadget_state_get(LIST), -1);
    gadget_item_add(LIST, 0, u"again");  // position 0 of an empty list is its end
    EXPECT_EQ(rows_of(LIST), std::vector<std::u16string>{u"again"});
}

using SliderStateTest = GadgetWindowTest;

TEST_F(SliderStateTest, CreationSetsTheRangeAndStateZero) {
    ASSERT_NE(gadget_track_bar(SLIDER, 5, 5, 190, 40, 10, 100), 0);
    EXPECT_EQ(gadget_attribute_get(SLIDER, GADGET_ATTRIBUTE_MINIMUM), 10);
    EXPECT_EQ(gadget_attribute_get(SLIDER, GADGET_ATTRIBUTE_MAXIMUM), 100);
    EXPECT_EQ(gadget_attribute_get(SLIDER, 3), 0);
    EXPECT_EQ(gadget_state_get(SLIDER), 10);  // state 0 lies below the range
    gadget_state_set(SLIDER, 75);
    EXPECT_EQ(gadget_state_get(SLIDER), 75);
    EXPECT_EQ(slider_shown_position(SLIDER), 75.0);
}

TEST_F(SliderStateTest, NegativeBoundsBecomeZero) {
    gadget_track_bar(SLIDER, 5, 5, 190, 40, -20, -5);
    EXPECT_EQ(gadget_attribute_get(SLIDER, GADGET_ATTRIBUTE_MINIMUM), 0);
    EXPECT_EQ(gadget_attribute_get(SLIDER, GADGET_ATTRIBUTE_MAXIMUM), 0);
    gadget_track_bar(SLIDER, 5, 5, 190, 40, -20, 50);
    EXPECT_EQ(gadget_attribute_get(SLIDER, GADGET_ATTRIBUTE_MINIMUM), 0);
    EXPECT_EQ(gadget_attribute_get(SLIDER, GADGET_ATTRIBUTE_MAXIMUM), 50);
    EXPECT_EQ(gadget_state_get(SLIDER), 0);
}

TEST_F(SliderStateTest, SettingABoundKeepsTheState) {
    gadget_track_bar(SLIDER, 5, 5, 190, 40, 0, 100);
    gadget_state_set(SLIDER, 40);
    gadget_attribute_set(SLIDER, GADGET_ATTRIBUTE_MAXIMUM, 200);
    gadget_attribute_set(SLIDER, GADGET_ATTRIBUTE_MINIMUM, 20);
    gadget_attribute_set(SLIDER, 5, 999);
    EXPECT_EQ(gadget_attribute_get(SLIDER, GADGET_ATTRIBUTE_MINIMUM), 20);
    EXPECT_EQ(gadget_attribute_get(SLIDER, GADGET_ATTRIBUTE_MAXIMUM), 200);
    EXPECT_EQ(gadget_state_get(SLIDER), 40);
    gadget_attribute_set(SLIDER, GADGET_ATTRIBUTE_MINIMUM, -3);
    EXPECT_EQ(gadget_attribute_get(SLIDER, GADGET_ATTRIBUTE_MINIMUM), 0);
    EXPECT_TRUE(gadget_events().empty());  // the program's own changes
}

TEST_F(SliderStateTest, HugeAndNegativeBoundsAndStatesStayInRange) {
    ASSERT_NE(gadget_track_bar(SLIDER, -100000, 100000, INT_MAX, INT_MAX, INT_MIN, INT_MAX), 0);
    EXPECT_EQ(gadget_attribute_get(SLIDER, GADGET_ATTRIBUTE_MINIMUM), 0);
    gadget_attribute_set(SLIDER, GADGET_ATTRIBUTE_MAXIMUM, 100);
    for (const int state : {-100000, INT_MIN}) {
        gadget_state_set(SLIDER, state);
        EXPECT_EQ(gadget_state_get(SLIDER), 0) << state;
    }
    for (const int state : {101, INT_MAX}) {
        gadget_state_set(SLIDER, state);
        EXPECT_EQ(gadget_state_get(SLIDER), 100) << state;
    }
    gadget_attribute_set(SLIDER, GADGET_ATTRIBUTE_MINIMUM, INT_MIN);
    EXPECT_EQ(gadget_attribute_get(SLIDER, GADGET_ATTRIBUTE_MINIMUM), 0);
    gadget_resize(SLIDER, -100000, INT_MAX, INT_MAX, -100000);
    EXPECT_EQ(gadget_state_get(SLIDER), 100);
}

using GadgetNumberTest = GadgetWindowTest;

TEST_F(GadgetNumberTest, UnknownNumbersAndMissingEntriesReadZeroAndChangeNothing) {
    ASSERT_NE(gadget_track_bar(SLIDER, 0, 0, 100, 30, 0, 10), 0);
    ASSERT_NE(gadget_list_view(LIST, 0, 40, 100, 100), 0);
    destroy_control(LIST);  // a stale number
    for (ObjectNumber number :
         {ObjectNumber{9}, ObjectNumber{-5}, ObjectNumber{123456789}, LIST, ObjectNumber{INT_MAX}}) {
        EXPECT_EQ(gadget_handle(number), 0);
        EXPECT_EQ(gadget_state_get(number), 0);
        EXPECT_EQ(gadget_item_count(number), 0);
        EXPECT_EQ(gadget_item_add(number, -1, u"x"), 0);
        EXPECT_EQ(text(gadget_item_text_get(number, 0)), u"");
        EXPECT_EQ(text(gadget_text_get(number)), u"");
        EXPECT_EQ(gadget_color_get(number, GADGET_COLOR_BACK), 0);
        EXPECT_EQ(gadget_attribute_get(number, GADGET_ATTRIBUTE_MAXIMUM), 0);
        EXPECT_EQ(gadget_item_data_get(number, 0), 0);
        EXPECT_EQ(gadget_item_mark_get(number, 0), GADGET_MARK_NONE);
        gadget_item_mark_set(number, 0, GADGET_MARK_PROBLEM, u"x");
        gadget_state_set(number, 1);
        gadget_clear(number);
        gadget_resize(number, 0, 0, 10, 10);
        gadget_color_set(number, GADGET_COLOR_BACK, 0x00FF00);
        gadget_tooltip(number, u"x");
        gadget_redraw(number, 1);
    }
    // A slider has no items, texts or colours.
    gadget_item_add(SLIDER, -1, u"x");
    EXPECT_EQ(gadget_item_count(SLIDER), 0);
    EXPECT_EQ(text(gadget_item_text_get(SLIDER, 0)), u"");
    gadget_color_set(SLIDER, GADGET_COLOR_BACK, 0x00FF00);
    EXPECT_EQ(gadget_color_get(SLIDER, GADGET_COLOR_BACK), 0);
    EXPECT_EQ(gadget_color_get(SLIDER, GADGET_COLOR_FRONT), 0);
    gadget_item_mark_set(SLIDER, 0, GADGET_MARK_NOTICE);
    EXPECT_EQ(gadget_item_mark_get(SLIDER, 0), GADGET_MARK_NONE);
    EXPECT_TRUE(drain_events().empty());
}

TEST_F(GadgetNumberTest, ReusingANumberDestroysTheOldControl) {
    const std::intptr_t old_control = gadget_list_view(LIST, 0, 0, 100, 100);
    gadget_item_add(LIST, -1, u"old");
    ASSERT_TRUE(control_exists(old_control));
    const std::intptr_t new_control = gadget_track_bar(LIST, 0, 0, 100, 30, 0, 10);
    ASSERT_NE(new_control, 0);
    EXPECT_FALSE(control_exists(old_control));
    EXPECT_EQ(gadget_handle(LIST), new_control);
    EXPECT_EQ(gadget_item_count(LIST), 0);  // a slider has no items
}

TEST_F(GadgetNumberTest, ClosingTheWindowReleasesItsGadgets) {
    ASSERT_NE(gadget_list_view(LIST, 0, 0, 200, 100), 0);
    ASSERT_NE(gadget_track_bar(SLIDER, 0, 110, 200, 30, 0, 100), 0);
    window_close(WINDOW);
    EXPECT_EQ(gadget_handle(LIST), 0);
    EXPECT_EQ(gadget_handle(SLIDER), 0);
    EXPECT_EQ(gadget_state_get(SLIDER), 0);
}

TEST_F(GadgetNumberTest, DynamicNumbersAreReturnedAndServeEveryOperation) {
    const auto list = static_cast<ObjectNumber>(gadget_list_view(DYNAMIC_ID, 10, 10, 200, 150));
    const auto slider = static_cast<ObjectNumber>(gadget_track_bar(DYNAMIC_ID, 10, 200, 100, 30, 0, 10));
    ASSERT_GT(list, 0);
    ASSERT_GT(slider, 0);
    EXPECT_NE(list, slider);
    EXPECT_NE(gadget_handle(list), 0);
    EXPECT_NE(gadget_handle(list), list);
    gadget_item_add(list, -1, u"one");
    gadget_item_add(list, -1, u"two");
    EXPECT_EQ(gadget_item_count(list), 2);
    gadget_state_set(slider, 7);
    EXPECT_EQ(gadget_state_get(slider), 7);
    // A person's click comes back under the dynamic number.
    click_row(list, 1);
    settle();
    const auto events = gadget_events();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back().object, list);
    EXPECT_EQ(events.back().window, WINDOW);
    EXPECT_EQ(gadget_state_get(list), 1);
}

TEST_F(GadgetNumberTest, WithoutAWindowCreationFailsAndLeavesTheNumberFree) {
    window_close(WINDOW);
    EXPECT_EQ(gadget_list_view(4, 0, 0, 100, 100), 0);
    EXPECT_EQ(gadget_track_bar(DYNAMIC_ID, 0, 0, 100, 30, 0, 10), 0);
    EXPECT_EQ(gadget_handle(4), 0);
    EXPECT_EQ(gadget_item_count(4), 0);
}

TEST_F(GadgetNumberTest, DestroyingAControlDropsOnlyItsOwnQueuedEvents) {
    ASSERT_NE(gadget_list_view(0, 0, 0, 200, 100), 0);
    ASSERT_NE(gadget_list_view(1, 0, 110, 200, 100), 0);
    event_post(EVENT_GADGET, 0, WINDOW, 0);
    event_post(EVENT_GADGET, 1, WINDOW, 0);
    event_post(EVENT_MENU, 0, WINDOW, 0);  // another kind with the same object stays
    event_post(EVENT_GADGET, 0, WINDOW, 2);
    destroy_control(0);
    EXPECT_EQ(gadget_handle(0), 0);
    EXPECT_EQ(gadget_state_get(0), 0);
    const auto events = drain_events();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].kind, EVENT_GADGET);
    EXPECT_EQ(events[0].object, 1);
    EXPECT_EQ(events[1].kind, EVENT_MENU);
    EXPECT_NE(gadget_track_bar(0, 0, 0, 100, 30, 0, 10), 0);  // the number is free again
}

}  // namespace
