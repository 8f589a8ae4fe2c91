// What a person's clicks on a list and a slider leave behind, and what the
// program's edits do to a list's selection, the same on every back end.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "runtime/gui/event.h"
#include "runtime/gui/gadget.h"
#include "tests/gui/gadget_window.h"
#include "tests/gui/person.h"

namespace {

constexpr ObjectNumber LIST = 0;
constexpr ObjectNumber SLIDER = 1;

std::vector<int> subtypes_from(ObjectNumber gadget, const std::vector<SeenEvent>& events) {
    std::vector<int> subtypes;
    for (const SeenEvent& event : events) {
        EXPECT_EQ(event.object, gadget);
        EXPECT_EQ(event.window, GadgetWindowTest::WINDOW);
        subtypes.push_back(event.subtype);
    }
    return subtypes;
}

class ListBehaviourTest : public GadgetWindowTest {
protected:
    void SetUp() override {
        GadgetWindowTest::SetUp();
        ASSERT_NE(gadget_list_view(LIST, 10, 10, 300, 200), 0);
        for (const char16_t* row : {u"a", u"b", u"c", u"d"}) gadget_item_add(LIST, -1, row);
        // Gaining the focus is reported on some platforms: not by the clicks checked here.
        focus_gadget(LIST);
        settle();
        gadget_events();
    }
    std::vector<std::u16string> rows() {
        std::vector<std::u16string> texts;
        for (int i = 0; i < gadget_item_count(LIST); ++i) {
            const char16_t* row = gadget_item_text_get(LIST, i);
            texts.emplace_back(row ? row : u"");
        }
        return texts;
    }
    // What the program's Delete does: the selected row goes.
    void remove_selected() { gadget_item_remove(LIST, gadget_state_get(LIST)); }
};

TEST_F(ListBehaviourTest, RemovingTheClickedRowLeavesNothingSelected) {
    click_row(LIST, 1);
    settle();
    ASSERT_EQ(gadget_state_get(LIST), 1);
    gadget_events();

    remove_selected();
    settle();
    EXPECT_EQ(rows(), (std::vector<std::u16string>{u"a", u"c", u"d"}));
    EXPECT_EQ(gadget_state_get(LIST), -1);
    for (int row = 0; row < 3; ++row) EXPECT_EQ(gadget_item_state_get(LIST, row), 0) << row;

    remove_selected();  // nothing is selected: nothing goes
    EXPECT_EQ(rows(), (std::vector<std::u16string>{u"a", u"c", u"d"}));
    EXPECT_TRUE(gadget_events().empty());
}

TEST_F(ListBehaviourTest, RemovingAnotherRowKeepsTheSelectedOne) {
    click_row(LIST, 1);
    settle();
    ASSERT_EQ(gadget_state_get(LIST), 1);
    gadget_events();

    gadget_item_remove(LIST, 2);
    EXPECT_EQ(gadget_state_get(LIST), 1);
    gadget_item_remove(LIST, 0);
    EXPECT_EQ(gadget_state_get(LIST), 0);
    // Removing the last row, then one that does not exist.
    gadget_item_remove(LIST, gadget_item_count(LIST) - 1);
    gadget_item_remove(LIST, 5);
    EXPECT_EQ(rows(), std::vector<std::u16string>{u"b"});
    EXPECT_EQ(gadget_state_get(LIST), 0);
    settle();
    EXPECT_TRUE(gadget_events().empty());
}

TEST_F(ListBehaviourTest, ADoubleClickIsASelectionThenADoubleClick) {
    click_row(LIST, 2, 2);
    settle();
    EXPECT_EQ(subtypes_from(LIST, gadget_events()), (std::vector<int>{0, 2}));
    EXPECT_EQ(gadget_state_get(LIST), 2);
}

TEST_F(ListBehaviourTest, AnArrowKeyMovesTheSelectionAndIsAnEvent) {
    gadget_state_set(LIST, 0);
    press_key(Key::Down);
    settle();
    EXPECT_EQ(gadget_state_get(LIST), 1);
    EXPECT_EQ(subtypes_from(LIST, gadget_events()), std::vector<int>{0});
}

TEST_F(ListBehaviourTest, ChangesTheProgramMakesRaiseNoEvents) {
    gadget_state_set(LIST, 1);
    gadget_text_set(LIST, u"c");
    gadget_item_remove(LIST, 2);
    gadget_item_add(LIST, 0, u"z");
    gadget_item_text_set(LIST, 0, u"y");
    gadget_clear(LIST);
    settle();
    EXPECT_TRUE(gadget_events().empty());
}

TEST_F(ListBehaviourTest, PressAndReleaseOnARowIsOneClick) {
    press_row(LIST, 1);
    move_pointer_by(1, 1);
    release_pointer();
    settle();
    EXPECT_EQ(gadget_state_get(LIST), 1);
    // The selection's change and the release: one event, as nothing was read between.
    EXPECT_EQ(subtypes_from(LIST, gadget_events()), std::vector<int>{0});
}

int drag_starts(const std::vector<int>& subtypes) {
    return static_cast<int>(std::count(subtypes.begin(), subtypes.end(), GADGET_DRAG_START));
}

bool has_drag_start(const std::vector<int>& subtypes) { return drag_starts(subtypes) > 0; }

// The press's selection event comes at once on some platforms, when the press
// ends on others: only the drag start is counted.
TEST_F(ListBehaviourTest, PressAndDragBeyondTheThresholdStartsADragOnce) {
    press_row(LIST, 2);
    move_pointer_by(1, 1);  // within the threshold
    settle();
    EXPECT_FALSE(has_drag_start(subtypes_from(LIST, gadget_events())));
    move_pointer_by(30, 2);
    settle();
    EXPECT_EQ(drag_starts(subtypes_from(LIST, gadget_events())), 1);
    // The press is over: neither further moves nor the release start another.
    move_pointer_by(60, 2);
    release_pointer();
    settle();
    EXPECT_FALSE(has_drag_start(subtypes_from(LIST, gadget_events())));
    EXPECT_EQ(gadget_state_get(LIST), 2);
}

TEST_F(ListBehaviourTest, PressWithShiftOrBelowTheRowsIsNoDrag) {
    press_row(LIST, 0, true);
    move_pointer_by(30, 30);
    release_pointer();
    settle();
    EXPECT_FALSE(has_drag_start(subtypes_from(LIST, gadget_events())));
    press_row(LIST, -1);
    move_pointer_by(30, -30);
    release_pointer();
    settle();
    EXPECT_FALSE(has_drag_start(subtypes_from(LIST, gadget_events())));
}

using SliderBehaviourTest = GadgetWindowTest;

TEST_F(SliderBehaviourTest, AClickLeavesTheSliderAtAWholePosition) {
    ASSERT_NE(gadget_track_bar(SLIDER, 20, 20, 200, 40, 0, 27), 0);
    settle();
    gadget_events();
    click_gadget(SLIDER, 143, 20);
    settle();
    EXPECT_EQ(subtypes_from(SLIDER, gadget_events()), std::vector<int>{0});
    const int state = gadget_state_get(SLIDER);
    EXPECT_GT(state, 0);
    EXPECT_EQ(slider_shown_position(SLIDER), state);
}

constexpr int VERTICAL = 2;  // the vertical style flag of gadget_track_bar

TEST_F(SliderBehaviourTest, AVerticalSliderHasItsMinimumAtTheBottom) {
    ASSERT_NE(gadget_track_bar(SLIDER, 20, 20, 40, 200, 0, 100, VERTICAL), 0);
    gadget_state_set(SLIDER, 50);
    settle();
    click_gadget(SLIDER, 20, 30);  // near the top
    settle();
    EXPECT_GT(gadget_state_get(SLIDER), 50);
}

TEST_F(SliderBehaviourTest, ABurstOfKeysUnreadCostsOneEventAndEachReadKeyOne) {
    ASSERT_NE(gadget_track_bar(SLIDER, 20, 20, 200, 40, 0, 100), 0);
    ASSERT_NE(gadget_list_view(LIST, 20, 80, 200, 100), 0);  // another gadget's events stay apart
    gadget_state_set(SLIDER, 50);
    focus_gadget(SLIDER);
    settle();
    gadget_events();
    for (int i = 0; i < 5; ++i) press_key(Key::Right);
    settle();
    EXPECT_EQ(gadget_state_get(SLIDER), 55);
    EXPECT_EQ(subtypes_from(SLIDER, gadget_events()), std::vector<int>{0});
    int seen = 0;
    for (int i = 0; i < 3; ++i) {
        press_key(Key::Left);
        settle();
        seen += static_cast<int>(gadget_events().size());
    }
    EXPECT_EQ(seen, 3);
    EXPECT_EQ(gadget_state_get(SLIDER), 52);
}

using GadgetSizeTest = GadgetWindowTest;

TEST_F(GadgetSizeTest, NegativeSizesMakeEmptyGadgets) {
    ASSERT_NE(gadget_list_view(LIST, 10, 10, -5, -300), 0);
    ASSERT_NE(gadget_track_bar(SLIDER, 10, 10, -1, -40, 0, 10), 0);
    settle();
    gadget_resize(LIST, IGNORE_VALUE, IGNORE_VALUE, -200, -1);
    gadget_resize(SLIDER, 5, 5, -70000, IGNORE_VALUE);
    settle();
    // Still gadgets that work.
    gadget_item_add(LIST, -1, u"row");
    EXPECT_EQ(gadget_item_count(LIST), 1);
    gadget_state_set(SLIDER, 4);
    EXPECT_EQ(gadget_state_get(SLIDER), 4);
}

TEST_F(GadgetSizeTest, HugeSizesAndFarPlacesMakeWorkingGadgets) {
    ASSERT_NE(gadget_list_view(LIST, -100000, 100000, INT_MAX, INT_MAX), 0);
    settle();
    gadget_resize(LIST, INT_MAX, -100000, INT_MAX, IGNORE_VALUE);
    settle();
    gadget_item_add(LIST, -1, u"row");
    EXPECT_EQ(gadget_item_count(LIST), 1);
    gadget_resize(LIST, 10, 10, 200, 100);
    settle();
    const ShownBox box = shown_box(LIST);
    EXPECT_EQ(box.x, 10);
    EXPECT_EQ(box.width, 200);
}

TEST_F(GadgetSizeTest, ResizeKeepsWhatIsIgnored) {
    ASSERT_NE(gadget_list_view(LIST, 5, 30, 200, 150), 0);
    const auto expect_box = [](int x, int y, int width, int height) {
        settle();
        const ShownBox box = shown_box(LIST);
        EXPECT_EQ(box.x, x);
        EXPECT_EQ(box.y, y);
        EXPECT_EQ(box.width, width);
        EXPECT_EQ(box.height, height);
    };
    expect_box(5, 30, 200, 150);
    gadget_resize(LIST, IGNORE_VALUE, IGNORE_VALUE, 300, 250);
    expect_box(5, 30, 300, 250);
    gadget_resize(LIST, 20, IGNORE_VALUE, IGNORE_VALUE, 100);
    expect_box(20, 30, 300, 100);
    gadget_resize(LIST, 1, 2, 130, 60);
    expect_box(1, 2, 130, 60);
}

}  // namespace
