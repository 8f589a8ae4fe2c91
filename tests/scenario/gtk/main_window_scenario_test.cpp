// The main window's size and the list that fills it, as a person sees them
// through resizing, and the close button. The list is the dark area below
// the toolbar; around it the window's own colour shows a 5-pixel border.
// And the volume pop-up, which follows the pointer, not the keyboard focus.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

#include "tests/scenario/gtk/playlist_view.h"
#include "tests/scenario/gtk/session.h"
#include "tests/scenario/gtk/toolbar_probe.h"
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
        EXPECT_EQ(box.x, session.toolbar.click_x(TOOL_VOLUME) - 10) << "the pointer 10 pixels into the pop-up";
        EXPECT_EQ(box.y, session.toolbar.click_y() - 10);
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

}  // namespace
