// The native program as a person meets it: started as a process of its own
// without a sound server, it shows the no-sound box, then the testing notice,
// then the main window centred on the screen; asked to close it, it ends with
// exit code 0. A second X client finds the windows, presses Return and asks
// to close, as a person and a window manager would.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "tests/scenario/gtk/program_process.h"
#include "tests/support/x_person.h"

namespace {

TEST(StartUp, NoSoundBoxNoticeMainWindowAndCloseWithExitCodeZero) {
    XPerson screen;
    ASSERT_TRUE(screen.open());
    const char* work = std::getenv("SOUND_TEST_DIR");
    ASSERT_NE(work, nullptr) << "run this program through tests/support/with-audio-server";
    NativeProgram program(screen, {std::filesystem::path(work) / "home-start", false});
    EXPECT_EQ(program.no_sound_boxes, 1);
    EXPECT_TRUE(program.notice_seen);
    EXPECT_TRUE(program.notice_before_main) << "the notice comes before the main window";

    const unsigned long main = program.main_window;
    ASSERT_NE(main, 0u);
    const XPerson::Box shown = screen.box(main);
    EXPECT_EQ(shown.width, 830);
    EXPECT_EQ(shown.height, 620);
    EXPECT_EQ(shown.x, (screen.screen_width() - 830) / 2);
    EXPECT_EQ(shown.y, (screen.screen_height() - 620) / 2);

    screen.close_request(main);
    EXPECT_EQ(program.exit_code(), 0);
}

}  // namespace
