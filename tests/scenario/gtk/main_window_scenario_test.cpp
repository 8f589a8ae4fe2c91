// The main window's size and the list that fills it, as a person sees them
// through resizing, and the close button. The list is the dark area below
// the toolbar; around it the window's own colour shows a 5-pixel border.
// And the volume pop-up, which follows the pointer, not the keyboard focus.
// On a high-density screen (two device pixels per unit) all of it twice as
// large, with icons drawn at that size rather than enlarged.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

#include "runtime/image/image.h"
#include "tests/scenario/gtk/playlist_view.h"
#include "tests/scenario/gtk/session.h"
#include "tests/scenario/gtk/toolbar_probe.h"
#include "tests/support/toolbar_icon_fit.h"
#include "tests/support/x_person.h"

namespace {

// The window's background, 0x908070 in the program's blue-green-red order.
constexpr unsigned long WINDOW_COLOUR = 0x708090;

// Where the list's area ends, seen from the window's right and bottom
// edges: the last column and row, in window coordinates, that is not the
// window's colour along the window's middle lines.
struct ListEnd {
    int right;
    int bottom;
};

ListEnd list_end(XPerson& person, unsigned long window) {
    const XPerson::Box box = person.box(window);
    ListEnd end{};
    // The last place along a line of pixels that is not the window's colour.
    auto last_other = [](const std::vector<unsigned long>& line) {
        for (auto at = line.size(); at > 0; --at)
            if (line[at - 1] != WINDOW_COLOUR) return static_cast<int>(at - 1);
        return -1;
    };
    end.right = last_other(person.pixels(window, {0, box.height / 2, box.width, 1}));
    end.bottom = last_other(person.pixels(window, {box.width / 2, 0, 1, box.height}));
    return end;
}

// Whether the list fills the window but a 5-pixel border; waits for the
// program to catch up.
::testing::AssertionResult list_fits(XPerson& person, unsigned long window) {
    ListEnd end{};
    XPerson::Box box{};
    for (int waited = 0; waited < 5000; waited += 50) {
        box = person.box(window);
        end = list_end(person, window);
        if (end.right == box.width - 6 && end.bottom == box.height - 6) return ::testing::AssertionSuccess();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return ::testing::AssertionFailure() << "window " << box.width << "x" << box.height << ", list ends at ("
                                         << end.right << "," << end.bottom << ")";
}

TEST(MainWindowScenario, ListFollowsResizeAndCloseButtonEndsWithZero) {
    XPerson person;
    ASSERT_TRUE(person.open());
    const char* work = std::getenv("SOUND_TEST_DIR");
    ASSERT_NE(work, nullptr) << "run this program through tests/support/with-audio-server";
    Session session(person, {std::filesystem::path(work) / "home-window", true});
    ASSERT_TRUE(session.ready());
    const unsigned long main = session.program.main_window;
    EXPECT_EQ(person.pixel(main, 2, 300), WINDOW_COLOUR);
    EXPECT_EQ(person.pixel(main, 300, 300), LIST_COLOUR);
    EXPECT_TRUE(list_fits(person, main)) << "at start";

    // Smaller, then larger, as border drags would make it.
    person.resize(main, 600, 500);
    EXPECT_TRUE(list_fits(person, main)) << "after making it smaller";
    person.resize(main, 1000, 800);
    EXPECT_TRUE(list_fits(person, main)) << "after making it larger";

    // The close button's request: nothing is unsaved, so no box, and the program ends.
    person.close_request(main);
    EXPECT_EQ(session.program.exit_code(), 0);
}

// Never clicked, the pop-up has not taken the keyboard focus from where it
// was (the main window under a click-to-focus window manager, nothing or the
// window under the pointer without one): it closes because the pointer left
// it, onto the main window or onto no window at all.
TEST(MainWindowScenario, TheVolumePopUpClosesWhenThePointerLeavesIt) {
    XPerson person;
    ASSERT_TRUE(person.open());
    const char* work = std::getenv("SOUND_TEST_DIR");
    ASSERT_NE(work, nullptr) << "run this program through tests/support/with-audio-server";
    Session session(person, {std::filesystem::path(work) / "home-popup", true});
    ASSERT_TRUE(session.ready());
    const unsigned long main = session.program.main_window;
    const XPerson::Box window = person.box(main);
    struct Away {
        const char* onto;
        int x, y;
    };
    for (const Away away : {Away{"the main window", window.x + window.width / 2, window.y + window.height / 2},
                            Away{"no window", person.screen_width() - 5, person.screen_height() - 5}}) {
        SCOPED_TRACE(away.onto);
        ASSERT_TRUE(session.toolbar.press(TOOL_VOLUME, false)) << "the click did not arrive";
        const unsigned long popup = volume_popup(person, 5000);
        ASSERT_NE(popup, 0u) << "no volume pop-up came";
        const XPerson::Box box = person.box(popup);
        // Through weston's seat XWayland's pointer moves by fractions of a
        // pixel, and the program (through XInput 2) may read the pixel
        // beside the one the person (through the core protocol) is told of.
        const int slack = person.through_seat() ? 1 : 0;
        EXPECT_NEAR(box.x, session.toolbar.click_x(TOOL_VOLUME) - 10, slack) << "the pointer 10 pixels into the pop-up";
        EXPECT_NEAR(box.y, session.toolbar.click_y() - 10, slack);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        EXPECT_NE(volume_popup(person, 0), 0u) << "the pop-up closed with the pointer in it";
        person.move_to(away.x, away.y);
        for (int waited = 0; waited < 5000 && volume_popup(person, 0); waited += 100)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        EXPECT_EQ(volume_popup(person, 0), 0u) << "the pop-up stayed";
    }
    person.close_request(main);
    EXPECT_EQ(session.program.exit_code(), 0);
}

// The main window as the screen shows it at one scale, in device pixels.
struct MainWindowLook {
    XPerson::Box window{};
    XPerson::Box list{};                    // with its frame, in window coordinates
    std::vector<XPerson::Stretch> buttons;  // the icons along the toolbar
    XPerson::Stretch toolbar_rows{};        // the rows anything of the toolbar covers
    std::vector<std::vector<unsigned long>> button_pixels;  // each button's area, row after row
    std::vector<int> button_widths;
};

MainWindowLook look_at(XPerson& person, unsigned long window, int scale) {
    MainWindowLook look;
    look.window = person.box(window);
    // The list with its frame: the last stretch of other colours than the
    // window's along its middle lines.
    auto last_stretch = [](const std::vector<unsigned long>& line, int& from, int& length) {
        int to = static_cast<int>(line.size()) - 1;
        while (to >= 0 && line[static_cast<std::size_t>(to)] == WINDOW_COLOUR) --to;
        from = to;
        while (from > 0 && line[static_cast<std::size_t>(from - 1)] != WINDOW_COLOUR) --from;
        length = to - from + 1;
    };
    last_stretch(person.pixels(window, {0, look.window.height / 2, look.window.width, 1}), look.list.x,
                 look.list.width);
    last_stretch(person.pixels(window, {look.window.width / 2, 0, 1, look.window.height}), look.list.y,
                 look.list.height);
    const XPerson::Box strip{0, 0, look.window.width, look.list.y};
    for (const XPerson::Stretch& seen : person.ink(window, strip, false, 3 * scale))
        if (seen.length() >= 6 * scale) look.buttons.push_back(seen);
    const std::vector<XPerson::Stretch> rows = person.ink(window, strip, true, strip.height);
    if (!rows.empty()) look.toolbar_rows = {rows.front().from, rows.back().to};
    // Each button's area with room for its whole icon around what shows of it.
    for (const XPerson::Stretch& button : look.buttons) {
        const int from = std::max(0, button.from - 16 * scale);
        const int to = std::min(look.window.width - 1, button.to + 16 * scale);
        look.button_pixels.push_back(person.pixels(window, {from, 0, to - from + 1, strip.height}));
        look.button_widths.push_back(to - from + 1);
    }
    return look;
}

// The main window's look when the program starts at that scale, with the
// pointer away from it.
MainWindowLook started_at(XPerson& person, int scale) {
    const char* work = std::getenv("SOUND_TEST_DIR");
    EXPECT_NE(work, nullptr) << "run this program through tests/support/with-audio-server";
    ProgramStart start{std::filesystem::path(work ? work : ".") / ("home-scale-" + std::to_string(scale)), false};
    start.scale = scale;
    NativeProgram program(person, start);
    EXPECT_NE(program.main_window, 0u) << "at scale " << scale;
    if (!program.main_window) return {};
    person.move_to(person.screen_width() - 5, person.screen_height() - 5);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    MainWindowLook look = look_at(person, program.main_window, scale);
    person.close_request(program.main_window);
    EXPECT_EQ(program.exit_code(), 0);
    return look;
}

// Twice the scale-1 length, give or take the pixel that anti-aliased edges
// of two drawings may add or take at each end.
::testing::AssertionResult twice(int at_two, int at_one, int slack = 0) {
    if (std::abs(at_two - 2 * at_one) <= slack) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << at_two << " is not twice " << at_one;
}

TEST(HighDensityScenario, AtScaleTwoAllIsTwiceAsLargeAndTheIconsAreDrawnAtThatSize) {
    XPerson person;
    ASSERT_TRUE(person.open());
    image_decoder_png_register();
    const MainWindowLook one = started_at(person, 1);
    const MainWindowLook two = started_at(person, 2);
    ASSERT_EQ(one.buttons.size(), 15u);
    ASSERT_EQ(two.buttons.size(), 15u);

    EXPECT_EQ(one.window.width, 830);
    EXPECT_EQ(one.window.height, 620);
    EXPECT_TRUE(twice(two.window.width, one.window.width));
    EXPECT_TRUE(twice(two.window.height, one.window.height));
    EXPECT_EQ(one.list.x, LIST_X);
    EXPECT_EQ(one.list.y, LIST_Y);
    for (auto [at_two, at_one] : {std::pair{two.list.x, one.list.x}, std::pair{two.list.y, one.list.y},
                                  std::pair{two.list.width, one.list.width},
                                  std::pair{two.list.height, one.list.height}})
        EXPECT_TRUE(twice(at_two, at_one)) << "the list";
    EXPECT_TRUE(twice(two.toolbar_rows.from, one.toolbar_rows.from, 2)) << "the toolbar's top";
    EXPECT_TRUE(twice(two.toolbar_rows.to + 1, one.toolbar_rows.to + 1, 2)) << "the toolbar's bottom";
    for (std::size_t place = 0; place < 15; ++place) {
        SCOPED_TRACE(place);
        EXPECT_TRUE(twice(two.buttons[place].from, one.buttons[place].from, 2));
        EXPECT_TRUE(twice(two.buttons[place].to + 1, one.buttons[place].to + 1, 2));
    }

    for (std::size_t place = 0; place < 15; ++place) {
        SCOPED_TRACE(place);
        const int n = IMAGE_AT_PLACE[place];
        const Picture small = toolbar_icon(n, 16);
        const Picture sharp = toolbar_icon(n, 32);
        ASSERT_EQ(small.size, 16);
        ASSERT_EQ(sharp.size, 32);
        const std::vector<unsigned long>& at_one = one.button_pixels[place];
        const std::vector<unsigned long>& at_two = two.button_pixels[place];
        const int one_height = static_cast<int>(at_one.size()) / one.button_widths[place];
        const int two_height = static_cast<int>(at_two.size()) / two.button_widths[place];
        // Scale 1 shows the 16-pixel icon pixel for pixel, scale 2 the
        // 32-pixel one; an enlarged 16-pixel icon is far from what it shows.
        EXPECT_LE(best_fit(at_one, one.button_widths[place], one_height, small), 2);
        EXPECT_LE(best_fit(at_two, two.button_widths[place], two_height, sharp), 2);
        EXPECT_GE(best_fit(at_two, two.button_widths[place], two_height, enlarged(small)), 40);
    }
}

}  // namespace
