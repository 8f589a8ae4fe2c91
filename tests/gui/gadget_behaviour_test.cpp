// What a person's clicks on a list and a slider leave behind, and what the
// program's edits do to a list's selection, the same on every back end.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "runtime/gui/event.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/gadget_kind.h"
#include "tests/gui/gadget_window.h"
#include "tests/support/person.h"

namespace {

constexpr ObjectNumber LIST = 0;
constexpr ObjectNumber SLIDER = 1;

class ListBehaviourTest : public GadgetWindowTest {
protected:
    void SetUp() override {
        GadgetWindowTest::SetUp();
        ASSERT_NE(gadget_list_view(LIST, 10, 10, 300, 200), 0);
        add_rows(LIST, {u"a", u"b", u"c", u"d"});
        // Gaining the focus is reported on some platforms: not by the clicks checked here.
        focus_gadget(LIST);
        settle();
        gadget_events();
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
    EXPECT_EQ(rows_of(LIST), (std::vector<std::u16string>{u"a", u"c", u"d"}));
    EXPECT_EQ(gadget_state_get(LIST), -1);
    for (int row = 0; row < 3; ++row) EXPECT_EQ(gadget_item_state_get(LIST, row), 0) << row;

    remove_selected();  // nothing is selected: nothing goes
    EXPECT_EQ(rows_of(LIST), (std::vector<std::u16string>{u"a", u"c", u"d"}));
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
    EXPECT_EQ(rows_of(LIST), std::vector<std::u16string>{u"b"});
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

TEST_F(ListBehaviourTest, AClickOnTheSelectedRowReportsItsReleaseAfterWhatCameBetween) {
    gadget_state_set(LIST, 1);
    press_row(LIST, 1);
    settle();
    gadget_events();
    // The row is selected already, so no selection change reports the click:
    // the release alone does, and an event queued meanwhile must not hide it.
    constexpr ObjectNumber OTHER = 7;
    event_post(EVENT_GADGET, OTHER, WINDOW, 0);
    release_pointer();
    settle();
    const std::vector<SeenEvent> seen = gadget_events();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].object, OTHER);
    EXPECT_EQ(seen[1].object, LIST);
    EXPECT_EQ(seen[1].window, WINDOW);
    EXPECT_EQ(seen[1].subtype, 0);
    EXPECT_EQ(gadget_state_get(LIST), 1);
}

int drag_starts(const std::vector<int>& subtypes) {
    return static_cast<int>(std::count(subtypes.begin(), subtypes.end(), GADGET_DRAG_START));
}

bool has_drag_start(const std::vector<int>& subtypes) { return drag_starts(subtypes) > 0; }

// The press's selection event comes at once on some platforms, when the press
// ends on others: only the drag start is counted.
TEST_F(ListBehaviourTest, PressAndDragBeyondTheThresholdStartsADragOnce) {
    press_row(LIST, 2);
    const Distance threshold = drag_threshold();
    move_pointer_by(threshold.x, -threshold.y);  // at the threshold, not beyond it
    settle();
    EXPECT_FALSE(has_drag_start(subtypes_from(LIST, gadget_events())));
    move_pointer_by(threshold.x + 1, 0);
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

// Whether the screen shows the whole row inside its list.
bool row_in_view(ObjectNumber list, int row) {
    const ShownBox view = shown_box(list);
    const ShownBox box = shown_row(list, row);
    return box.y >= view.y && box.y + box.height <= view.y + view.height;
}

TEST_F(ListBehaviourTest, TheSelectedRowIsScrolledIntoView) {
    gadget_redraw(LIST, 0);
    for (int i = 0; i < 500; ++i) gadget_item_add(LIST, -1, u"row");
    gadget_redraw(LIST, 1);
    settle();
    EXPECT_FALSE(row_in_view(LIST, 400));
    gadget_state_set(LIST, 400);
    settle();
    EXPECT_TRUE(row_in_view(LIST, 400));
    gadget_state_set(LIST, 3);
    settle();
    EXPECT_TRUE(row_in_view(LIST, 3));
}

// A list of rows wide enough in glyphs to find their colour on the screen.
class ListLookTest : public GadgetWindowTest {
protected:
    void SetUp() override {
        GadgetWindowTest::SetUp();
        ASSERT_NE(gadget_list_view(LIST, 10, 10, 300, 200), 0);
        for (int row = 0; row < 4; ++row) gadget_item_add(LIST, -1, u"WWWW MMMM WWWW");
        settle();
        gadget_events();
    }
    // Close enough to be that colour, not a blend of a glyph's edge.
    static bool looks_like(int a, int b) {
        for (int shift = 0; shift < 24; shift += 8)
            if (std::abs(((a >> shift) & 0xFF) - ((b >> shift) & 0xFF)) > 0x10) return false;
        return true;
    }
    // Whether the glyphs of the row show a pixel of that colour.
    static bool row_shows(int row, int colour) {
        const ShownBox box = shown_row(LIST, row);
        for (int y = box.y; y < box.y + box.height; ++y)
            for (int x = box.x; x < box.x + 120 && x < box.x + box.width; ++x)
                if (looks_like(shown_colour(WINDOW, x, y), colour)) return true;
        return false;
    }
    // The row's colour past the end of its text.
    static int row_background(int row) {
        const ShownBox box = shown_row(LIST, row);
        return shown_colour(WINDOW, box.x + box.width - 30, box.y + box.height / 2);
    }
    // The list's colour below its rows.
    static int below_rows() {
        const ShownBox box = shown_box(LIST);
        return shown_colour(WINDOW, box.x + box.width / 2, box.y + box.height - 10);
    }
};

TEST_F(ListLookTest, FrontAndBackColoursPaintTheList) {
    const int theme = below_rows();
    EXPECT_NE(theme, 0x454545);
    EXPECT_EQ(gadget_color_get(LIST, GADGET_COLOR_BACK), -1);
    gadget_color_set(LIST, GADGET_COLOR_BACK, 0x454545);
    gadget_color_set(LIST, GADGET_COLOR_FRONT, 0xF0FAFF);
    EXPECT_EQ(gadget_color_get(LIST, GADGET_COLOR_BACK), 0x454545);
    EXPECT_EQ(gadget_color_get(LIST, GADGET_COLOR_FRONT), 0xF0FAFF);
    EXPECT_EQ(gadget_color_get(LIST, 3), -1);
    settle();
    EXPECT_EQ(below_rows(), 0x454545);
    EXPECT_TRUE(row_shows(0, 0xF0FAFF));

    // Alone, the front colour paints on the default background.
    gadget_color_set(LIST, GADGET_COLOR_BACK, -1);
    gadget_color_set(LIST, GADGET_COLOR_FRONT, 0x0000FF);
    settle();
    EXPECT_EQ(below_rows(), theme);
    EXPECT_TRUE(row_shows(0, 0x0000FF));
}

// As the program shows its playlist: light text on dark grey.
class ListMarkTest : public ListLookTest {
protected:
    static constexpr int BACK = 0x454545;
    static constexpr int FRONT = 0xF0FAFF;
    void SetUp() override {
        ListLookTest::SetUp();
        gadget_color_set(LIST, GADGET_COLOR_BACK, BACK);
        gadget_color_set(LIST, GADGET_COLOR_FRONT, FRONT);
        settle();
    }
};

TEST_F(ListMarkTest, MarkedRowsShowTheirMarksColours) {
    const int notice = gadget_mark_colour(GADGET_MARK_NOTICE, BACK);
    const int problem = gadget_mark_colour(GADGET_MARK_PROBLEM, BACK);
    ASSERT_FALSE(looks_like(notice, problem));
    ASSERT_FALSE(looks_like(notice, FRONT));
    ASSERT_FALSE(looks_like(problem, FRONT));
    gadget_item_mark_set(LIST, 1, GADGET_MARK_NOTICE, u"plays through the fallback");
    gadget_item_mark_set(LIST, 2, GADGET_MARK_PROBLEM);
    settle();
    EXPECT_TRUE(row_shows(0, FRONT));
    EXPECT_FALSE(row_shows(0, notice) || row_shows(0, problem));
    EXPECT_TRUE(row_shows(1, notice));
    EXPECT_FALSE(row_shows(1, FRONT) || row_shows(1, problem));
    EXPECT_TRUE(row_shows(2, problem));
    EXPECT_FALSE(row_shows(2, FRONT) || row_shows(2, notice));
    EXPECT_TRUE(looks_like(row_background(1), BACK));

    // The mark goes: the row is drawn as any other again.
    gadget_item_mark_set(LIST, 2, GADGET_MARK_NONE);
    settle();
    EXPECT_TRUE(row_shows(2, FRONT));
    EXPECT_FALSE(row_shows(2, problem));
}

TEST_F(ListMarkTest, MarkColoursFollowTheListsBackground) {
    gadget_item_mark_set(LIST, 1, GADGET_MARK_NOTICE);
    settle();
    ASSERT_TRUE(row_shows(1, gadget_mark_colour(GADGET_MARK_NOTICE, BACK)));
    // On white the amber is darkened, where on dark grey it was lightened.
    gadget_color_set(LIST, GADGET_COLOR_BACK, 0xFFFFFF);
    gadget_color_set(LIST, GADGET_COLOR_FRONT, 0x000000);
    settle();
    const int on_white = gadget_mark_colour(GADGET_MARK_NOTICE, 0xFFFFFF);
    ASSERT_FALSE(looks_like(on_white, gadget_mark_colour(GADGET_MARK_NOTICE, BACK)));
    EXPECT_TRUE(row_shows(1, on_white));
}

TEST_F(ListMarkTest, TheSelectedMarkedRowShowsTheSelectionsColours) {
    gadget_item_mark_set(LIST, 1, GADGET_MARK_PROBLEM, u"not on the player");
    const int problem = gadget_mark_colour(GADGET_MARK_PROBLEM, BACK);
    gadget_state_set(LIST, 0);
    settle();
    const int selected = row_background(0);
    ASSERT_FALSE(looks_like(selected, BACK));

    gadget_state_set(LIST, 1);
    settle();
    EXPECT_EQ(row_background(1), selected);
    EXPECT_FALSE(row_shows(1, problem));
    // Unselected again, it shows its mark.
    gadget_state_set(LIST, -1);
    settle();
    EXPECT_TRUE(row_shows(1, problem));
}

TEST_F(ListMarkTest, AMarkedRowsTipShowsWhileThePointerRestsOnIt) {
    gadget_item_mark_set(LIST, 1, GADGET_MARK_PROBLEM, u"Not on the player");
    gadget_item_mark_set(LIST, 2, GADGET_MARK_NOTICE);  // marked without a tip
    gadget_item_mark_set(LIST, 3, GADGET_MARK_NOTICE, u"Plays /Music/a.mp3");
    EXPECT_EQ(rest_pointer_on_row(LIST, 0), "");
    EXPECT_EQ(rest_pointer_on_row(LIST, 1), "Not on the player");
    EXPECT_EQ(rest_pointer_on_row(LIST, 2), "");
    EXPECT_EQ(rest_pointer_on_row(LIST, 3), "Plays /Music/a.mp3");
    EXPECT_EQ(rest_pointer_on_row(LIST, 0), "");
    // The tip belongs to the row: a row inserted above moves it down.
    gadget_item_add(LIST, 0, u"new");
    settle();
    EXPECT_EQ(rest_pointer_on_row(LIST, 2), "Not on the player");
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

using GadgetTipTest = GadgetWindowTest;

TEST_F(GadgetTipTest, AToolTipShowsItsLatestTextWhileThePointerRestsOnItsGadget) {
    ASSERT_NE(gadget_track_bar(SLIDER, 50, 50, 190, 40, 0, 100), 0);
    ASSERT_NE(gadget_list_view(LIST, 50, 150, 190, 100), 0);
    gadget_tooltip(SLIDER, u"Volume: 75 \u266a");
    gadget_tooltip(SLIDER, u"Volume: 80 \u266a");  // replaces the text
    gadget_tooltip(LIST, u"tracks");
    gadget_tooltip(77, u"nobody");  // no such gadget: nothing happens
    EXPECT_EQ(rest_pointer_on_gadget(SLIDER, 20, 10), "Volume: 80 \xe2\x99\xaa");
    EXPECT_EQ(rest_pointer_on_gadget(LIST, 20, 50), "tracks");
    // The tip goes with its gadget: the slider made again under its number has none.
    ASSERT_NE(gadget_track_bar(SLIDER, 50, 50, 190, 40, 0, 100), 0);
    EXPECT_EQ(rest_pointer_on_gadget(SLIDER, 20, 10), "");
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

TEST_F(GadgetSizeTest, GadgetsStandWhereTheyAreMadeAndResizeKeepsWhatIsIgnored) {
    ASSERT_NE(gadget_list_view(LIST, 5, 30, 200, 150), 0);
    ASSERT_NE(gadget_track_bar(SLIDER, 5, 250, 190, 40, 0, 100), 0);
    settle();
    const ShownBox slider = shown_box(SLIDER);
    EXPECT_EQ(slider.x, 5);
    EXPECT_EQ(slider.y, 250);
    EXPECT_EQ(slider.width, 190);
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

// A list whose rows the person may reorder: what a row dragged to another
// place reports, and what leaves it where it was.
class ListReorderTest : public ListBehaviourTest {
protected:
    void SetUp() override {
        ListBehaviourTest::SetUp();
        gadget_reorder_enable(LIST, 1);
    }
};

struct ItemMove {
    int from;
    int to;
    friend bool operator==(const ItemMove&, const ItemMove&) = default;
};

std::ostream& operator<<(std::ostream& out, const ItemMove& move) { return out << move.from << "->" << move.to; }

// The moves among the events waiting, read while each is the current event;
// the drag starts among them counted too.
std::vector<ItemMove> moves_read(int* drag_starts_seen = nullptr) {
    settle();
    std::vector<ItemMove> moves;
    for (int kind; (kind = event_wait_timeout(0)) != EVENT_NONE;) {
        if (kind != EVENT_GADGET) continue;
        if (event_subtype() == GADGET_ITEM_MOVED) moves.push_back({event_item_from(), event_item_to()});
        else EXPECT_EQ(event_item_from(), -1) << "only a move has rows";
        if (drag_starts_seen && event_subtype() == GADGET_DRAG_START) ++*drag_starts_seen;
    }
    return moves;
}

// From the middle of the pressed row to a place within another row: a
// quarter down it (above its middle), or three quarters (below).
int to_row(int pressed, int row, int quarters) {
    const ShownBox from = shown_row(LIST, pressed);
    const ShownBox to = shown_row(LIST, row);
    return to.y + to.height * quarters / 4 - (from.y + from.height / 2);
}

TEST_F(ListReorderTest, ARowDroppedAboveAnotherIsReportedAsAMoveThatTheProgramMakes) {
    const int dy = to_row(3, 0, 1);
    press_row(LIST, 3);
    move_pointer_by(2, dy);
    release_pointer();
    int starts = 0;
    EXPECT_EQ(moves_read(&starts), (std::vector<ItemMove>{{3, 0}}));
    EXPECT_EQ(starts, 1) << "the drag start comes as before";
    EXPECT_EQ(rows_of(LIST), (std::vector<std::u16string>{u"a", u"b", u"c", u"d"})) << "the program moves the row";
    EXPECT_EQ(gadget_state_get(LIST), 3);
}

TEST_F(ListReorderTest, ARowDroppedBelowTheLastGoesLast) {
    const int dy = to_row(0, 3, 3) + shown_row(LIST, 3).height;
    press_row(LIST, 0);
    move_pointer_by(2, dy);
    release_pointer();
    EXPECT_EQ(moves_read(), (std::vector<ItemMove>{{0, 3}}));
}

TEST_F(ListReorderTest, ARowDroppedWhereItWasIsNoMove) {
    const int dy = to_row(1, 2, 1);  // just below itself: the same place
    press_row(LIST, 1);
    move_pointer_by(30, dy);
    release_pointer();
    EXPECT_TRUE(moves_read().empty());
}

TEST_F(ListReorderTest, EscapeOrAReleaseOutsideTheListLeavesTheRowWhereItWas) {
    press_row(LIST, 1);
    move_pointer_by(2, to_row(1, 3, 3));
    press_key(Key::Escape);
    settle();
    move_pointer_by(4, to_row(1, 0, 1));
    release_pointer();
    EXPECT_TRUE(moves_read().empty());

    press_row(LIST, 1);
    move_pointer_by(2, to_row(1, 3, 3));
    move_pointer_by(400, to_row(1, 3, 3));  // right of the list, level with a row
    release_pointer();
    EXPECT_TRUE(moves_read().empty());
    EXPECT_EQ(rows_of(LIST), (std::vector<std::u16string>{u"a", u"b", u"c", u"d"}));
}

TEST_F(ListReorderTest, RowsTheProgramChangesDuringTheDragEndIt) {
    press_row(LIST, 2);
    move_pointer_by(2, to_row(2, 0, 1));
    settle();  // the row is lifted
    gadget_item_remove(LIST, 0);
    release_pointer();
    EXPECT_TRUE(moves_read().empty());
    // The list holds the mouse no more: a click below it reaches a slider there.
    ASSERT_NE(gadget_track_bar(SLIDER, 20, 230, 200, 40, 0, 27), 0);
    settle();
    gadget_events();
    click_gadget(SLIDER, 143, 20);
    settle();
    EXPECT_GT(gadget_state_get(SLIDER), 0);
}

TEST_F(ListReorderTest, APressBelowTheRowsOrInAListThatDoesNotLetRowsMoveMovesNothing) {
    press_row(LIST, -1);
    move_pointer_by(2, -120);
    release_pointer();
    EXPECT_TRUE(moves_read().empty());
    gadget_reorder_enable(LIST, 0);
    press_row(LIST, 3);
    move_pointer_by(2, to_row(3, 0, 1));
    release_pointer();
    EXPECT_TRUE(moves_read().empty());
}

// The screen across the boundary above a row, in the middle of the list,
// where no text is drawn.
std::vector<int> shown_above(int row) {
    const ShownBox shown = shown_row(LIST, row);
    std::vector<int> colours;
    for (int y = shown.y - 2; y <= shown.y + 2; ++y)
        colours.push_back(shown_colour(GadgetWindowTest::WINDOW, shown.x + shown.width / 2, y));
    return colours;
}

TEST_F(ListReorderTest, AMarkBetweenRowsShowsWhereTheRowWouldGo) {
    const std::vector<int> plain = shown_above(2);
    press_row(LIST, 0);
    move_pointer_by(2, to_row(0, 2, 1));
    settle();
    EXPECT_NE(shown_above(2), plain) << "the mark above row 2";
    press_key(Key::Escape);
    settle();
    EXPECT_EQ(shown_above(2), plain) << "gone with the drag";
    release_pointer();
    EXPECT_TRUE(moves_read().empty());
}

TEST_F(ListReorderTest, MovingARowTakesItsDataMarkAndSelection) {
    gadget_item_data_set(LIST, 3, 42);
    gadget_item_mark_set(LIST, 3, GADGET_MARK_PROBLEM, u"Not on the player");
    gadget_state_set(LIST, 3);
    gadget_item_move(LIST, 3, 0);
    EXPECT_EQ(rows_of(LIST), (std::vector<std::u16string>{u"d", u"a", u"b", u"c"}));
    EXPECT_EQ(gadget_item_data_get(LIST, 0), 42);
    EXPECT_EQ(gadget_item_mark_get(LIST, 0), GADGET_MARK_PROBLEM);
    EXPECT_EQ(gadget_item_mark_get(LIST, 3), GADGET_MARK_NONE);
    EXPECT_EQ(gadget_state_get(LIST), 0);
    gadget_state_set(LIST, 2);
    gadget_item_move(LIST, 0, 3);
    EXPECT_EQ(rows_of(LIST), (std::vector<std::u16string>{u"a", u"b", u"c", u"d"}));
    EXPECT_EQ(gadget_item_mark_get(LIST, 3), GADGET_MARK_PROBLEM);
    EXPECT_EQ(gadget_state_get(LIST), 1) << "the selection stays with its row";
    for (auto [from, to] : {std::pair{-1, 0}, {0, 4}, {4, 0}, {2, 2}, {INT_MAX, 1}}) gadget_item_move(LIST, from, to);
    EXPECT_EQ(rows_of(LIST), (std::vector<std::u16string>{u"a", u"b", u"c", u"d"}));
    settle();
    EXPECT_TRUE(gadget_events().empty());
    EXPECT_EQ(rest_pointer_on_row(LIST, 3), "Not on the player");
}

TEST_F(ListBehaviourTest, ADoubleClickIsReportedOnARowOnly) {
    click_row(LIST, 1, 2);
    settle();
    const std::vector<int> on_row = subtypes_from(LIST, gadget_events());
    EXPECT_EQ(std::count(on_row.begin(), on_row.end(), GADGET_DOUBLE_CLICK), 1);
    const ShownBox list = shown_box(LIST);
    click_gadget(LIST, 20, list.height - 20);  // below the last row, twice quickly
    click_gadget(LIST, 20, list.height - 20);
    settle();
    const std::vector<int> below = subtypes_from(LIST, gadget_events());
    EXPECT_EQ(std::count(below.begin(), below.end(), GADGET_DOUBLE_CLICK), 0);
}

}  // namespace
