// The native program as a person meets it: started as a process of its own
// without a sound server, it shows the no-sound box, then the testing notice,
// then the main window centred on the screen, with the program's icon for
// the window manager and task bar; asked to close it, it ends with exit code
// 0. A second X client finds the windows, presses Return and asks to close,
// as a person and a window manager would. The same start, of the program as
// `cmake --install` puts it into a prefix, is tests/package/check-install's.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "tests/support/x_person.h"

namespace {

// The application icon's three pictures (resources/app_icon), as the window
// offers them: drawn pictures, neither empty nor filled squares.
void expect_application_icon(XPerson& screen, unsigned long window) {
    const std::vector<XPerson::Icon> icons = screen.icons(window);
    std::vector<int> sizes;
    for (const XPerson::Icon& icon : icons) {
        SCOPED_TRACE(icon.width);
        EXPECT_EQ(icon.width, icon.height);
        sizes.push_back(icon.width);
        const auto opaque = std::count_if(icon.argb.begin(), icon.argb.end(),
                                          [](unsigned long pixel) { return pixel >> 24 == 0xFF; });
        EXPECT_GE(opaque, static_cast<long>(icon.argb.size() / 2));
        EXPECT_LT(opaque, static_cast<long>(icon.argb.size()));
    }
    std::sort(sizes.begin(), sizes.end());
    EXPECT_EQ(sizes, (std::vector<int>{16, 32, 48}));
}

// Starts the program at that path with no sound server, answers the no-sound
// box and the notice, checks the main window and its icon, and closes it.
void start_show_and_close(const char* program_path) {
    XPerson screen;
    ASSERT_TRUE(screen.open());
    const pid_t program = fork();
    ASSERT_GE(program, 0);
    if (program == 0) {
        setenv("PULSE_SERVER", "unix:/nonexistent", 1);  // no sound server
        // The sanitizers' leak report on GTK's memory at exit would change the exit code.
        setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
        execl(program_path, program_path, static_cast<char*>(nullptr));
        _exit(127);
    }
    const unsigned long no_sound = screen.wait_for("No sound available!");
    EXPECT_NE(no_sound, 0u);
    if (no_sound) {
        expect_application_icon(screen, no_sound);  // the requesters' boxes carry it too
        screen.press_return(no_sound);
    }

    const unsigned long notice = screen.wait_for("Information on TESTING version");
    EXPECT_NE(notice, 0u);
    EXPECT_EQ(screen.find(".: Tunelathe :."), 0u) << "the notice comes before the main window";
    if (notice) screen.press_return(notice);

    const unsigned long main = screen.wait_for(".: Tunelathe :.V 0.5.206");
    ASSERT_NE(main, 0u);
    const XPerson::Box shown = screen.box(main);
    EXPECT_EQ(shown.width, 830);
    EXPECT_EQ(shown.height, 620);
    EXPECT_EQ(shown.x, (screen.screen_width() - 830) / 2);
    EXPECT_EQ(shown.y, (screen.screen_height() - 620) / 2);
    expect_application_icon(screen, main);

    screen.close_request(main);
    EXPECT_EQ(exit_code_of(program), 0);
}

TEST(StartUp, NoSoundBoxNoticeMainWindowAndCloseWithExitCodeZero) { start_show_and_close(TUNELATHE_PROGRAM); }

// tests/package/check-install installs the build into a prefix of its own
// and runs this test with TUNELATHE_INSTALLED naming bin/tunelathe there.
TEST(StartUpInstalled, TheInstalledProgramShowsItsMainWindowWithItsIconAndCloses) {
    const char* installed = std::getenv("TUNELATHE_INSTALLED");
    if (!installed) GTEST_SKIP() << "needs tests/package/check-install";
    start_show_and_close(installed);
}

}  // namespace
