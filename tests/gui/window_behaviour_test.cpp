// Real windows as a person, the window manager and the program meet them:
// opening with a title, size and place (centred on the screen or a parent),
// hiding and showing, focus, moving, minimizing, maximizing, restoring,
// resizing within size limits and closing, the window gadgets go into, the
// mouse position, background colours
// and the repaints they cause, numbers fixed, dynamic and unknown, parents that
// are no open window, sizes and places out of all reason, the queue and the
// wait, and the pointer going over windows; the same on every back end.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdint>
#include <thread>
#include <utility>
#include <vector>

#include "runtime/gui/event.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/window.h"
#include "tests/support/person.h"
#include "tests/gui/window_events.h"
#include "tests/support/key_input.h"

namespace {

// The queued window events of these kinds that the platform delivered
// meanwhile, of every window, in order. Native messages that share a number
// with a window event come back with subtype -1 and are not listed.
std::vector<Event> queued(const std::vector<int>& kinds) {
    settle();
    std::vector<Event> events;
    while (const int kind = event_wait_timeout(0)) {
        if (event_subtype() == 0 && std::find(kinds.begin(), kinds.end(), kind) != kinds.end())
            events.push_back(current(kind));
    }
    return events;
}

// The same, of one window only.
std::vector<Event> events_of(ObjectNumber window, const std::vector<int>& kinds) {
    std::vector<Event> events = queued(kinds);
    std::erase_if(events, [window](const Event& e) { return e.window != window; });
    return events;
}

using WindowBehaviourTest = WindowSuite;

TEST_F(WindowBehaviourTest, OpenShowsANumberedWindowWithTitleAndInnerSize) {
    const std::intptr_t handle = window_open(0, 100, 100, 300, 200, u"Test", 0);
    ASSERT_NE(handle, 0);
    EXPECT_TRUE(window_shown(0));
    EXPECT_EQ(window_handle(0), handle);

    EXPECT_EQ(shown_title(0), "Test");
    window_title_set(0, nullptr);  // ignored
    EXPECT_EQ(shown_title(0), "Test");
    window_title_set(0, u"Liste \u00e9t\u00e9 \u266b");
    EXPECT_EQ(shown_title(0), "Liste \xc3\xa9t\xc3\xa9 \xe2\x99\xab");

    EXPECT_EQ(window_width(0), 300);
    EXPECT_EQ(window_height(0), 200);
    const ShownBox frame = shown_frame(0);
    EXPECT_EQ(frame.x, 100);
    EXPECT_EQ(frame.y, 100);
    EXPECT_EQ(frame.width, window_width(0, 0));
    EXPECT_EQ(frame.height, window_height(0, 0));
}

TEST_F(WindowBehaviourTest, PositionsCentredOnScreenAndOnParent) {
    const ShownBox screen = shown_screen();
    ASSERT_NE(window_open(0, -1, -1, 400, 300, u"Test", MAIN_FLAGS), 0);
    ShownBox box = shown_frame(0);
    EXPECT_EQ(box.x, (screen.width - box.width) / 2);
    EXPECT_EQ(box.y, (screen.height - box.height) / 2);

    // Larger than the screen: limited to it, so it starts at the corner.
    ASSERT_NE(window_open(1, 0, 0, screen.width + 500, screen.height + 400, u"Test", WINDOW_CENTERED | POPUP), 0);
    box = shown_frame(1);
    EXPECT_EQ(box.x, 0);
    EXPECT_EQ(box.y, 0);
    EXPECT_EQ(box.width, screen.width);
    window_close(1);

    const std::intptr_t parent = window_open(2, 200, 150, 600, 500, u"Test", POPUP);
    ASSERT_NE(window_open(3, 0, 0, 200, 100, u"Test", WINDOW_CENTERED_ON_PARENT | POPUP, parent), 0);
    box = shown_frame(3);
    EXPECT_EQ(box.x, 200 + (600 - 200) / 2);
    EXPECT_EQ(box.y, 150 + (500 - 100) / 2);

    // -1 is a real coordinate.
    ASSERT_NE(window_open(4, -1, -1, 50, 50, u"Test", POPUP), 0);
    EXPECT_EQ(shown_frame(4).x, -1);
    EXPECT_EQ(shown_frame(4).y, -1);
}

TEST_F(WindowBehaviourTest, HiddenWindowsShowWhenAskedWithOrWithoutActivationAndStayMaximized) {
    ASSERT_NE(window_open(4, 10, 10, 120, 90, u"Test", WINDOW_HIDDEN | POPUP), 0);
    EXPECT_FALSE(window_shown(4));
    window_hide(4, 0);
    EXPECT_TRUE(window_shown(4));
    window_hide(4, 1);
    EXPECT_FALSE(window_shown(4));
    window_hide(4, 0, WINDOW_SHOW_NO_ACTIVATE);
    EXPECT_TRUE(window_shown(4));

    // Hidden and shown again, a maximized window stays maximized.
    ASSERT_NE(window_open(0, 100, 100, 300, 200, u"Test", MAIN_FLAGS), 0);
    maximize_window(0);
    settle();
    const int maximized = window_width(0);
    ASSERT_GT(maximized, 300);
    window_hide(0, 1);
    window_hide(0, 0);
    settle();
    EXPECT_EQ(window_width(0), maximized);
}

TEST_F(WindowBehaviourTest, APersonsResizeAndMoveAreEachOneEvent) {
    ASSERT_NE(window_open(2, 100, 100, 300, 200, u"Test", MAIN_FLAGS), 0);
    const int frame_width = window_width(2, 0) - window_width(2);
    const int frame_height = window_height(2, 0) - window_height(2);
    const std::vector<int> kinds{EVENT_SIZE_WINDOW, EVENT_MOVE_WINDOW};
    queued({});
    resize_window(2, 420, 260);
    EXPECT_EQ(events_of(2, kinds), window_events(2, {EVENT_SIZE_WINDOW}));  // once, not for every redraw
    EXPECT_EQ(window_width(2, 0), 420);
    EXPECT_EQ(window_height(2, 0), 260);
    EXPECT_EQ(window_width(2), 420 - frame_width);
    EXPECT_EQ(window_height(2), 260 - frame_height);

    move_window(2, 150, 170);
    EXPECT_EQ(events_of(2, kinds), window_events(2, {EVENT_MOVE_WINDOW}));
    EXPECT_EQ(shown_frame(2).x, 150);
    EXPECT_EQ(shown_frame(2).y, 170);
}

TEST_F(WindowBehaviourTest, FocusChangesBecomeDeactivateThenActivateEvents) {
    ASSERT_NE(window_open(0, 100, 100, 300, 200, u"Test", MAIN_FLAGS), 0);
    ASSERT_NE(window_open(1, 500, 100, 300, 200, u"Test", MAIN_FLAGS), 0);
    const std::vector<int> kinds{EVENT_ACTIVATE_WINDOW, EVENT_DEACTIVATE_WINDOW};
    activate_window(0);
    queued({});
    activate_window(1);
    EXPECT_EQ(queued(kinds), (std::vector<Event>{{EVENT_DEACTIVATE_WINDOW, 0, 0, 0}, {EVENT_ACTIVATE_WINDOW, 0, 1, 0}}));
    activate_window(0);
    EXPECT_EQ(queued(kinds), (std::vector<Event>{{EVENT_DEACTIVATE_WINDOW, 0, 1, 0}, {EVENT_ACTIVATE_WINDOW, 0, 0, 0}}));
}

TEST_F(WindowBehaviourTest, MousePositionIsInsideTheInnerAreaOnly) {
    ASSERT_NE(window_open(0, 300, 200, 300, 200, u"Test", MAIN_FLAGS), 0);
    const ShownBox inner = shown_inner_area(0);
    const auto pointer_at = [](int x, int y) {
        point_at(0, x, y);
        settle();
        return std::pair{window_mouse_x(0), window_mouse_y(0)};
    };
    EXPECT_EQ(pointer_at(25, 40), std::pair(25, 40));
    EXPECT_EQ(desktop_mouse_x(), inner.x + 25);
    EXPECT_EQ(desktop_mouse_y(), inner.y + 40);
    EXPECT_EQ(pointer_at(25, -5), std::pair(-1, -1));  // on the title bar, where there is one
    EXPECT_EQ(pointer_at(-1, 25), std::pair(-1, -1));
    EXPECT_EQ(pointer_at(300, 10), std::pair(-1, -1));  // just right of the inner area
    EXPECT_EQ(pointer_at(299, 199), std::pair(299, 199));
    EXPECT_EQ(pointer_at(300, 200), std::pair(-1, -1));  // just past the bottom-right corner
}

TEST_F(WindowBehaviourTest, MinimizeMaximizeAndRestoreComeInOrder) {
    ASSERT_NE(window_open(0, 100, 100, 300, 200, u"Test", MAIN_FLAGS), 0);
    const std::vector<int> state_kinds{EVENT_MINIMIZE_WINDOW, EVENT_MAXIMIZE_WINDOW, EVENT_RESTORE_WINDOW,
                                       EVENT_SIZE_WINDOW};
    events_of(0, {});
    minimize_window(0);
    EXPECT_EQ(events_of(0, state_kinds), window_events(0, {EVENT_MINIMIZE_WINDOW}));
    restore_window(0);
    EXPECT_EQ(events_of(0, state_kinds), window_events(0, {EVENT_RESTORE_WINDOW, EVENT_SIZE_WINDOW}));
    maximize_window(0);
    EXPECT_EQ(events_of(0, state_kinds), window_events(0, {EVENT_MAXIMIZE_WINDOW, EVENT_SIZE_WINDOW}));
    restore_window(0);
    EXPECT_EQ(events_of(0, state_kinds), window_events(0, {EVENT_RESTORE_WINDOW, EVENT_SIZE_WINDOW}));
    // A plain resize of a restored window is no restore.
    resize_window(0, 640, 480);
    EXPECT_EQ(events_of(0, state_kinds), window_events(0, {EVENT_SIZE_WINDOW}));
}

TEST_F(WindowBehaviourTest, BackgroundColourFillsTheWindowAndEachChangeIsARepaint) {
    ASSERT_NE(window_open(0, 0, 0, 120, 80, u"Test", POPUP), 0);
    events_of(0, {});
    const int theme = shown_colour(0, 60, 40);

    window_color_set(0, 0x908070);
    EXPECT_EQ(events_of(0, {EVENT_REPAINT}), window_events(0, {EVENT_REPAINT}));
    EXPECT_EQ(shown_colour(0, 60, 40), 0x908070);
    EXPECT_EQ(shown_colour(0, 1, 1), 0x908070);

    window_color_set(0, 0x908070);  // unchanged: no redraw
    EXPECT_TRUE(events_of(0, {EVENT_REPAINT}).empty());

    window_color_set(0, -1);
    EXPECT_EQ(events_of(0, {EVENT_REPAINT}), window_events(0, {EVENT_REPAINT}));
    EXPECT_EQ(shown_colour(0, 60, 40), theme);
}

TEST_F(WindowBehaviourTest, AParentThatIsNoOpenWindowFailsTheOpen) {
    const std::intptr_t closed = window_open(1, 100, 100, 300, 200, u"Parent", MAIN_FLAGS);
    ASSERT_NE(closed, 0);
    window_close(1);
    EXPECT_EQ(window_open(2, 120, 120, 200, 100, u"Child", MAIN_FLAGS, closed), 0);
    EXPECT_EQ(window_handle(2), 0);
    EXPECT_EQ(window_open(DYNAMIC_ID, 120, 120, 200, 100, u"Child", MAIN_FLAGS, closed), 0);
    // An open parent serves.
    const std::intptr_t parent = window_open(1, 100, 100, 300, 200, u"Parent", MAIN_FLAGS);
    EXPECT_NE(window_open(2, 120, 120, 200, 100, u"Child", MAIN_FLAGS, parent), 0);
    EXPECT_NE(window_handle(2), 0);
}

// A person's resize and maximize stop at the limits of the inner size; an
// ignored limit stays as it was, and 0 removes one.
TEST_F(WindowBehaviourTest, SizeLimitsHoldForTheInnerSize) {
    ASSERT_NE(window_open(0, 10, 10, 500, 400, u"Test", MAIN_FLAGS), 0);
    const int frame_width = window_width(0, 0) - window_width(0);
    window_bounds(0, 320, 280, IGNORE_VALUE, IGNORE_VALUE);
    settle();  // the limits reach the window manager
    resize_window(0, 50, 50);
    settle();
    EXPECT_EQ(window_width(0), 320);
    EXPECT_EQ(window_height(0), 280);

    window_bounds(0, IGNORE_VALUE, IGNORE_VALUE, 600, 450);
    settle();
    maximize_window(0);
    settle();
    EXPECT_EQ(window_width(0), 600);
    EXPECT_EQ(window_height(0), 450);
    restore_window(0);
    window_bounds(0, 250, IGNORE_VALUE, IGNORE_VALUE, IGNORE_VALUE);
    settle();
    resize_window(0, 50, 50);
    settle();
    EXPECT_EQ(window_width(0), 250);
    EXPECT_EQ(window_height(0), 280) << "an ignored limit is kept";

    window_bounds(0, 0, 0, 0, 0);
    settle();
    resize_window(0, 900 + frame_width, 700);
    settle();
    EXPECT_EQ(window_width(0), 900) << "0 is no limit";
}

// Gadgets go into the window opened last unless it asks not to take them,
// hidden or not; once that window closes, none are made until another opens.
TEST_F(WindowBehaviourTest, GadgetsGoIntoTheLastWindowOpenedThatTakesThem) {
    ASSERT_TRUE(gadget_init());
    ASSERT_NE(window_open(0, 0, 0, 200, 100, u"a", WINDOW_HIDDEN | POPUP), 0);
    ASSERT_NE(window_open(1, 300, 0, 200, 100, u"b", WINDOW_NOT_GADGET_PARENT | POPUP), 0);
    ASSERT_NE(gadget_list_view(5, 0, 0, 50, 50), 0);
    ASSERT_NE(window_open(2, 600, 0, 200, 100, u"c", POPUP), 0);
    ASSERT_NE(gadget_list_view(6, 0, 0, 50, 50), 0);
    window_close(2);
    EXPECT_EQ(gadget_handle(6), 0) << "it went with window 2";
    EXPECT_EQ(gadget_list_view(7, 0, 0, 50, 50), 0) << "never into a closed window";
    window_close(1);
    EXPECT_NE(gadget_handle(5), 0) << "window 1 took none";
    window_close(0);
    EXPECT_EQ(gadget_handle(5), 0);
    gadget_end();
}

// The platform may make a framed window wider than asked (its smallest
// title bar); never a negative size, never a failure.
TEST_F(WindowBehaviourTest, NegativeSizesOpenEmptyWindows) {
    for (const std::uint32_t flags : {MAIN_FLAGS, POPUP}) {
        SCOPED_TRACE(flags);
        ASSERT_NE(window_open(0, 100, 100, -50, -300, u"Test", flags), 0);
        settle();
        EXPECT_GE(window_width(0), 0);
        EXPECT_GE(window_height(0), 0);
        window_close(0);
    }
}

TEST_F(WindowBehaviourTest, TheCloseButtonIsAnEventAndTheWindowStays) {
    const std::intptr_t handle = window_open(3, 100, 100, 300, 200, u"Test", MAIN_FLAGS);
    ASSERT_NE(handle, 0);
    events_of(3, {});
    ask_to_close(3);
    EXPECT_EQ(events_of(3, {EVENT_CLOSE_WINDOW}), window_events(3, {EVENT_CLOSE_WINDOW}));
    EXPECT_EQ(window_handle(3), handle);
    EXPECT_TRUE(window_shown(3));
}

TEST_F(WindowBehaviourTest, DynamicNumbersReopeningAndClosing) {
    const auto id = static_cast<ObjectNumber>(window_open(DYNAMIC_ID, 0, 0, 100, 100, nullptr, POPUP));
    ASSERT_NE(id, 0);
    const std::intptr_t dynamic = window_handle(id);
    EXPECT_TRUE(window_exists(dynamic));
    EXPECT_NE(dynamic, id);
    EXPECT_EQ(window_width(id), 100);
    EXPECT_EQ(shown_title(id), "");
    window_close(id);
    EXPECT_EQ(window_handle(id), 0);
    EXPECT_FALSE(window_exists(dynamic));

    const std::intptr_t first = window_open(0, 0, 0, 100, 100, u"first", POPUP);
    const std::intptr_t second = window_open(0, 0, 0, 100, 100, u"second", POPUP);
    ASSERT_NE(second, 0);
    EXPECT_NE(second, first);
    EXPECT_FALSE(window_exists(first)) << "the window opened again under its number replaces it";
    EXPECT_EQ(window_handle(0), second);
    const std::intptr_t other = window_open(1, 0, 0, 100, 100, u"other", POPUP);
    ASSERT_NE(other, 0);
    window_close(-1);
    for (const std::intptr_t handle : {second, other}) EXPECT_FALSE(window_exists(handle));
    EXPECT_EQ(window_handle(0), 0);
    EXPECT_EQ(window_handle(1), 0);
}

TEST_F(WindowBehaviourTest, NumbersWithoutAWindowAnswerZeroOrMinusOneAndChangeNothing) {
    ASSERT_NE(window_open(6, 0, 0, 100, 100, u"neighbour", POPUP), 0);
    ASSERT_NE(window_open(8, 0, 0, 100, 100, u"closed", POPUP), 0);
    window_close(8);
    for (const ObjectNumber number : {ObjectNumber{7}, ObjectNumber{8}, ObjectNumber{-5}, ObjectNumber{INT_MAX}}) {
        SCOPED_TRACE(number);
        EXPECT_EQ(window_handle(number), 0);
        EXPECT_EQ(window_width(number), 0);
        EXPECT_EQ(window_height(number, 0), 0);
        EXPECT_EQ(window_mouse_x(number), -1);
        EXPECT_EQ(window_mouse_y(number), -1);
        window_hide(number, 1);
        window_bounds(number, 1, 1, 1, 1);
        window_color_set(number, 0x123456);
        window_title_set(number, u"x");
        window_close(number);
    }
    EXPECT_EQ(window_open(-5, 0, 0, 10, 10, nullptr, 0), 0);
    EXPECT_EQ(window_width(6), 100);  // a live neighbour is untouched
}

// Whatever the numbers, a window opens, never larger than 32767 pixels a side
// (what the platforms keep), and still takes its operations.
TEST_F(WindowBehaviourTest, HugeSizesAndFarPlacesOpenWorkingWindows) {
    for (const std::uint32_t flags : {MAIN_FLAGS, POPUP}) {
        SCOPED_TRACE(flags);
        ASSERT_NE(window_open(0, -100000, 100000, INT_MAX, INT_MAX, u"Huge", flags), 0);
        settle();
        EXPECT_GE(window_width(0), 0);
        EXPECT_LE(window_width(0), 32767);
        EXPECT_LE(window_height(0), 32767);
        window_bounds(0, INT_MAX, INT_MAX, INT_MAX, INT_MAX);
        window_bounds(0, -100000, -100000, -100000, -100000);
        resize_window(0, 200, 100);
        window_title_set(0, u"still here");
        settle();
        EXPECT_NE(window_handle(0), 0);
        window_close(0);
    }
}

TEST_F(WindowBehaviourTest, ClosingAWindowDropsOnlyItsQueuedEvents) {
    ASSERT_NE(window_open(0, 0, 0, 100, 100, u"a", MAIN_FLAGS), 0);
    ASSERT_NE(window_open(1, 0, 0, 100, 100, u"b", MAIN_FLAGS), 0);
    queued({});
    ask_to_close(0);
    ask_to_close(1);
    settle();
    event_post(EVENT_GADGET, 4, 0, 0);
    event_post(EVENT_GADGET, 5, 1, 0);
    event_post(EVENT_GADGET, 6, 0, 0);
    window_close(0);
    EXPECT_EQ(queued({EVENT_GADGET, EVENT_CLOSE_WINDOW}),
              (std::vector<Event>{{EVENT_CLOSE_WINDOW, 1, 1, 0}, {EVENT_GADGET, 5, 1, 0}}));
}

TEST_F(WindowBehaviourTest, TheWaitTimesOutAndWakesForAnEventFromAnotherThread) {
    ASSERT_NE(window_open(0, 0, 0, 100, 100, u"a", POPUP), 0);
    queued({});
    EXPECT_EQ(event_wait_timeout(0), 0);
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(event_wait_timeout(150), 0);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(140));

    std::thread poster([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        event_post(EVENT_GADGET, 21, 0, 5);
    });
    start = std::chrono::steady_clock::now();
    const int kind = event_wait();
    poster.join();
    EXPECT_EQ(current(kind), (Event{EVENT_GADGET, 21, 0, 5}));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(90));
}

// The pointer's motion wakes the wait with the window under it, so a loop
// that follows the pointer (the volume pop-up) learns that it left one
// window for another, whichever window has the keyboard focus.
TEST_F(WindowBehaviourTest, ThePointersMotionIsReportedForTheWindowUnderIt) {
    ASSERT_NE(window_open(0, 100, 100, 200, 100, u"Below", POPUP), 0);
    ASSERT_NE(window_open(1, 400, 100, 200, 50, u"Pop-up", POPUP), 0);
    point_at(1, 20, 20);
    queued({});
    point_at(1, 30, 25);
    const Event motion = next_event(EVENT_POINTER_MOVE, 1);
    EXPECT_EQ(motion.kind, EVENT_POINTER_MOVE) << "no motion over window 1";
    EXPECT_EQ(motion.subtype, -1);
    EXPECT_EQ(window_mouse_x(1), 30);
    EXPECT_EQ(window_mouse_y(1), 25);

    point_at(0, 50, 40);
    EXPECT_EQ(next_event(EVENT_POINTER_MOVE, 0).kind, EVENT_POINTER_MOVE) << "no motion over window 0";
    EXPECT_EQ(window_mouse_x(1), -1) << "the pointer left window 1";
    EXPECT_EQ(window_mouse_x(0), 50);
}

// Shortcuts: keys pressed through the platform into a window with a list and
// a slider, whichever of them has the focus.
class ShortcutBehaviourTest : public WindowBehaviourTest {
protected:
    static constexpr ObjectNumber LIST = 0;
    static constexpr ObjectNumber SLIDER = 1;
    static void SetUpTestSuite() {
        WindowSuite::SetUpTestSuite();
        ASSERT_TRUE(gadget_init());
    }
    static void TearDownTestSuite() {
        gadget_end();
        WindowSuite::TearDownTestSuite();
    }
    void SetUp() override {
        ASSERT_NE(window_open(0, 100, 100, 300, 200, u"Keys", MAIN_FLAGS), 0);
        ASSERT_NE(gadget_list_view(LIST, 5, 5, 200, 150), 0);
        for (const char16_t* row : {u"a", u"b", u"c"}) gadget_item_add(LIST, -1, row);
        ASSERT_NE(gadget_track_bar(SLIDER, 5, 160, 200, 30, 0, 10), 0);
        give_keyboard_focus(window_handle(0));
        settle();
        events_of(-1, {});
    }
    // The menu events and list selection changes the keys made, in order.
    std::vector<Event> key_events() {
        std::vector<Event> events = events_within();
        std::erase_if(events, [](const Event& e) {
            return e.kind != EVENT_MENU && !(e.kind == EVENT_GADGET && e.object == LIST && e.subtype == 0);
        });
        return events;
    }
    static Event menu(int command) { return {EVENT_MENU, command, 0, -1}; }
};

TEST_F(ShortcutBehaviourTest, AKeyIsItsCommandWhicheverControlHasTheFocus) {
    ASSERT_EQ(window_shortcut_add(0, 'S', KEY_CONTROL, 2), 1);
    ASSERT_EQ(window_shortcut_add(0, 'S', KEY_CONTROL | KEY_SHIFT, 3), 1);
    ASSERT_EQ(window_shortcut_add(0, KEY_SPACE, 0, 15), 1);
    ASSERT_EQ(window_shortcut_add(0, KEY_DOWN, KEY_ALT, 6), 1);
    ASSERT_EQ(window_shortcut_add(0, KEY_F1, 0, 14), 1);
    gadget_state_set(LIST, 0);
    focus_gadget(LIST);
    settle();
    key_events();

    press_runtime_key('S', KEY_CONTROL);
    press_runtime_key('S', KEY_CONTROL | KEY_SHIFT);
    press_runtime_key(KEY_F1);
    EXPECT_EQ(key_events(), (std::vector<Event>{menu(2), menu(3), menu(14)}));
    // Any command, also 0 and one that is a system menu's command elsewhere (close).
    ASSERT_EQ(window_shortcut_add(0, 'N', KEY_CONTROL, 0), 1);
    ASSERT_EQ(window_shortcut_add(0, 'Q', KEY_CONTROL, 0xF060), 1);
    press_runtime_key('N', KEY_CONTROL);
    press_runtime_key('Q', KEY_CONTROL);
    EXPECT_EQ(key_events(), (std::vector<Event>{menu(0), menu(0xF060)}));
    EXPECT_NE(window_handle(0), 0);
    // The list never sees a shortcut's key: Space and Alt+Down leave its selection.
    press_runtime_key(KEY_SPACE);
    press_runtime_key(KEY_DOWN, KEY_ALT);
    EXPECT_EQ(key_events(), (std::vector<Event>{menu(15), menu(6)}));
    EXPECT_EQ(gadget_state_get(LIST), 0);
    // Other keys stay the control's: Down moves the selection, as a click would.
    press_runtime_key(KEY_DOWN);
    EXPECT_EQ(key_events(), (std::vector<Event>{{EVENT_GADGET, LIST, 0, 0}}));
    EXPECT_EQ(gadget_state_get(LIST), 1);
    // The modifiers must be exactly the shortcut's.
    press_runtime_key('S', KEY_CONTROL | KEY_ALT);
    press_runtime_key('S');
    press_runtime_key(KEY_F1, KEY_SHIFT);
    EXPECT_EQ(key_events(), std::vector<Event>{});

    focus_gadget(SLIDER);
    settle();
    key_events();
    press_runtime_key(KEY_SPACE);
    press_runtime_key('S', KEY_CONTROL);
    EXPECT_EQ(key_events(), (std::vector<Event>{menu(15), menu(2)}));
    EXPECT_EQ(gadget_state_get(SLIDER), 0);
}

TEST_F(ShortcutBehaviourTest, AKeyHeldDownIsOneCommandForEachRepeat) {
    ASSERT_EQ(window_shortcut_add(0, KEY_DELETE, 0, 4), 1);
    focus_gadget(LIST);
    settle();
    key_events();
    press_runtime_key(KEY_DELETE, 0, 40);
    EXPECT_EQ(key_events(), std::vector<Event>(40, menu(4)));
}

TEST_F(ShortcutBehaviourTest, TabStillMovesTheFocus) {
    constexpr int TAB = 0x09;  // the focus key, which no shortcut may have
    ASSERT_EQ(window_shortcut_add(0, KEY_RIGHT, KEY_CONTROL, 7), 1);
    focus_gadget(LIST);
    settle();
    press_runtime_key(TAB);
    press_runtime_key(KEY_RIGHT);
    key_events();
    EXPECT_EQ(gadget_state_get(SLIDER), 1) << "Tab gave the slider the focus";
    press_runtime_key(TAB, KEY_SHIFT);
    key_events();
    press_runtime_key(KEY_DOWN);
    EXPECT_EQ(key_events(), (std::vector<Event>{{EVENT_GADGET, LIST, 0, 0}})) << "Shift+Tab gave it back to the list";
}

TEST_F(ShortcutBehaviourTest, BadShortcutsAreRefusedAndChangeNothing) {
    EXPECT_EQ(window_shortcut_add(5, 'S', KEY_CONTROL, 2), 0) << "no such window";
    EXPECT_EQ(window_shortcut_add(-1, 'S', KEY_CONTROL, 2), 0);
    EXPECT_EQ(window_shortcut_add(INTPTR_MAX, 'S', KEY_CONTROL, 2), 0);
    for (int key : {0, -1, 0x09, 0x10, int{'a'}, 0x5B, KEY_F1 + 12, 0xFF, 0x100, 0x153, INT_MAX})
        EXPECT_EQ(window_shortcut_add(0, key, 0, 2), 0) << "key " << key;
    for (int modifiers : {8, 16, -1, INT_MAX}) EXPECT_EQ(window_shortcut_add(0, 'S', modifiers, 2), 0);
    for (int command : {-1, 65536, 64001, 64002, INT_MIN}) EXPECT_EQ(window_shortcut_add(0, 'S', KEY_CONTROL, command), 0);
    press_runtime_key('S', KEY_CONTROL);
    EXPECT_EQ(key_events(), std::vector<Event>{});

    // A window holds so many; a key it has already takes its new command.
    int added = 0;
    for (int key = 'A'; key <= 'Z'; ++key)
        for (int modifiers : {KEY_CONTROL, KEY_ALT, KEY_CONTROL | KEY_SHIFT}) added += window_shortcut_add(0, key, modifiers, key);
    EXPECT_EQ(added, WINDOW_SHORTCUT_LIMIT);
    EXPECT_EQ(window_shortcut_add(0, KEY_F1, 0, 14), 0) << "no room left";
    EXPECT_EQ(window_shortcut_add(0, 'B', KEY_CONTROL, 4000), 1);
    press_runtime_key('B', KEY_CONTROL);
    press_runtime_key(KEY_F1);
    EXPECT_EQ(key_events(), (std::vector<Event>{menu(4000)}));

    // A window opened again under the number starts without shortcuts.
    window_close(0);
    SetUp();
    press_runtime_key('B', KEY_CONTROL);
    EXPECT_EQ(key_events(), std::vector<Event>{});
}

}  // namespace
