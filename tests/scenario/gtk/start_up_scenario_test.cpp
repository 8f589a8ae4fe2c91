// The native program as a person meets it: started as a process of its own
// without a sound server, it shows the no-sound box, then the testing notice,
// then the main window centred on the screen; asked to close it, it ends with
// exit code 0. A second X client finds the windows, presses Return and asks
// to close, as a person and a window manager would.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>

#include "tests/support/x_person.h"

namespace {

TEST(StartUp, NoSoundBoxNoticeMainWindowAndCloseWithExitCodeZero) {
    XPerson screen;
    ASSERT_TRUE(screen.open());
    const pid_t program = fork();
    ASSERT_GE(program, 0);
    if (program == 0) {
        setenv("PULSE_SERVER", "unix:/nonexistent", 1);  // no sound server
        // The sanitizers' leak report on GTK's memory at exit would change the exit code.
        setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
        execl(TUNELATHE_PROGRAM, TUNELATHE_PROGRAM, static_cast<char*>(nullptr));
        _exit(127);
    }
    const unsigned long no_sound = screen.wait_for("No sound available!");
    EXPECT_NE(no_sound, 0u);
    if (no_sound) screen.press_return(no_sound);

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

    screen.close_request(main);
    EXPECT_EQ(exit_code_of(program), 0);
}

}  // namespace
