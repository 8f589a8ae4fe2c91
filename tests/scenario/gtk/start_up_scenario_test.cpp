// The native program as a person meets it: started as a process of its own
// without a sound server, it shows the no-sound box, then the testing notice,
// then the main window centred on the screen, with the program's icon for
// the window manager and task bar; asked to close it, it ends with exit code
// 0. A second X client finds the windows, presses Return and asks to close,
// as a person and a window manager would. The same start, of the program as
// `cmake --install` puts it into a prefix, is tests/package/check-install's.
// Shown and left alone, the program sleeps: none of its threads wakes.
#include <gtest/gtest.h>

#include <sys/types.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "tests/scenario/gtk/program_process.h"
#include "tests/scenario/gtk/toolbar_probe.h"
#include "tests/support/program_texts.h"
#include "tests/support/x_person.h"

namespace {

// What Ctrl+C copies from a box with only an OK button, laid out as on
// Windows; the program's texts are ASCII, their CR LF line ends become LF.
std::string box_copy(const char16_t* title, const char16_t* text) {
    auto lines = [](const char16_t* from) {
        std::string to;
        for (; *from; ++from)
            if (*from != u'\r') to += static_cast<char>(*from);
        return to;
    };
    const std::string rule = "---------------------------\n";
    return rule + lines(title) + "\n" + rule + lines(text) + "\n" + rule + "OK   \n" + rule;
}

// The application icon's three pictures (resources/app_icon), as the window
// offers them: drawn pictures, neither empty nor filled squares.
void expect_application_icon(const std::vector<XPerson::Icon>& icons) {
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

// Starts the program at that path (empty: this build's) with no sound server,
// answers the no-sound box and the notice, checks the main window and the
// icons, and closes it.
void start_show_and_close(const std::string& program_path) {
    XPerson screen;
    ASSERT_TRUE(screen.open());
    const char* work = std::getenv("SOUND_TEST_DIR");
    ASSERT_NE(work, nullptr) << "run this program through tests/support/with-audio-server";
    NativeProgram program(screen, {std::filesystem::path(work) / "home-start", false, program_path});
    EXPECT_EQ(program.no_sound_boxes, 1);
    SCOPED_TRACE("the no-sound box");  // the requesters' boxes carry the icon too
    expect_application_icon(program.no_sound_icons);
    EXPECT_TRUE(program.notice_seen);
    EXPECT_EQ(program.notice_copy, box_copy(NOTICE_TITLE, NOTICE_TEXT));
    EXPECT_TRUE(program.notice_before_main) << "the notice comes before the main window";

    const unsigned long main = program.main_window;
    ASSERT_NE(main, 0u);
    const XPerson::Box shown = screen.box(main);
    EXPECT_EQ(shown.width, 830);
    EXPECT_EQ(shown.height, 620);
    const XPerson::Box outer = screen.outer_box(main);
    if (screen.through_seat()) {
        // Weston places a new window itself, wherever its shell likes: the
        // window, frame and all, is shown whole on the screen.
        EXPECT_GE(outer.x, 0);
        EXPECT_GE(outer.y, 0);
        EXPECT_LE(outer.x + outer.width, screen.screen_width());
        EXPECT_LE(outer.y + outer.height, screen.screen_height());
    } else {
        // Centred by its inner size: a window manager's frame, unknown until
        // the window is shown, starts there and adds to the right and below.
        EXPECT_EQ(outer.x, (screen.screen_width() - 830) / 2);
        EXPECT_EQ(outer.y, (screen.screen_height() - 620) / 2);
    }
    expect_application_icon(screen.icons(main));

    // Every button but the volume button tells what it does when the pointer
    // rests on it; the pointer goes down to the list in between, so that no
    // tooltip stays up from the button before.
    Toolbar toolbar(screen, main);
    ASSERT_TRUE(toolbar.complete());
    for (int item = TOOL_NEW; item <= TOOL_HELP; ++item) {
        screen.move_to(shown.x + shown.width / 2, shown.y + shown.height / 2);
        ASSERT_TRUE(screen.wait_tooltip(false, 5000));
        screen.move_to(toolbar.click_x(item), toolbar.click_y());
        if (item == TOOL_VOLUME) EXPECT_FALSE(screen.wait_tooltip(true, 2000)) << "the volume button has a tooltip";
        else EXPECT_TRUE(screen.wait_tooltip(true, 5000)) << "no tooltip for item " << item;
    }

    // The Help button's box says what the program does.
    toolbar.press(TOOL_HELP);
    const unsigned long help = screen.wait_for("Help & Info");
    ASSERT_NE(help, 0u);
    EXPECT_EQ(screen.copied_text(help), box_copy(HELP_TITLE, HELP_TEXT));
    screen.press_return(help);

    screen.close_request(main);
    EXPECT_EQ(program.exit_code(), 0);
}

TEST(StartUp, NoSoundBoxNoticeMainWindowAndCloseWithExitCodeZero) { start_show_and_close(""); }

// tests/package/check-install installs the build into a prefix of its own
// and runs this test with TUNELATHE_INSTALLED naming bin/tunelathe there.
TEST(StartUpInstalled, TheInstalledProgramShowsItsMainWindowWithItsIconAndCloses) {
    const char* installed = std::getenv("TUNELATHE_INSTALLED");
    if (!installed) GTEST_SKIP() << "needs tests/package/check-install";
    start_show_and_close(installed);
}

struct ThreadSwitches {
    std::string name;
    long switches;  // voluntary and nonvoluntary: every time the thread left the processor
};

// Every thread of the process, by its id.
std::map<std::string, ThreadSwitches> thread_switches(pid_t program) {
    std::map<std::string, ThreadSwitches> threads;
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator(
             "/proc/" + std::to_string(program) + "/task", error)) {
        ThreadSwitches thread{"", 0};
        std::getline(std::ifstream(task.path() / "comm"), thread.name);
        std::ifstream status(task.path() / "status");
        for (std::string field; status >> field;) {
            if (field == "voluntary_ctxt_switches:" || field == "nonvoluntary_ctxt_switches:") {
                long count = 0;
                status >> count;
                thread.switches += count;
            }
        }
        threads[task.path().filename().string()] = thread;
    }
    return threads;
}

// The wake-ups between two looks: each thread's new switches; a thread that
// came or went counts as woken.
long wake_ups(const std::map<std::string, ThreadSwitches>& before,
              const std::map<std::string, ThreadSwitches>& after, std::string* which) {
    long total = 0;
    for (const auto& [id, thread] : after) {
        const auto earlier = before.find(id);
        const long woken = earlier == before.end() ? thread.switches + 1 : thread.switches - earlier->second.switches;
        if (woken) *which += " " + thread.name + " (" + id + "): " + std::to_string(woken);
        total += woken;
    }
    for (const auto& [id, thread] : before) {
        if (after.count(id)) continue;
        *which += " " + thread.name + " (" + id + ") ended";
        ++total;
    }
    return total;
}

// An idle GTK program sleeps in poll() until one of its descriptors has
// something: no timer runs while no animation, blinking cursor or timeout is
// pending. One wake-up is allowed for an event of the X server that may still
// come after the show settled; a timer of even one second would wake it
// five times.
constexpr long IDLE_WAKE_UPS = 1;

TEST(StartUp, AShownMainWindowLeftAloneWakesNoThread) {
    XPerson screen;
    ASSERT_TRUE(screen.open());
    const char* work = std::getenv("SOUND_TEST_DIR");
    ASSERT_NE(work, nullptr) << "run this program through tests/support/with-audio-server";
    NativeProgram program(screen, {std::filesystem::path(work) / "home-idle", false});
    const unsigned long main = program.main_window;
    ASSERT_NE(main, 0u);

    // Settled: the show, its paint and what follows them are over once a
    // second passes without a switch (ten seconds at most).
    auto last = thread_switches(program.pid());
    for (int second = 0; second < 10; ++second) {
        std::this_thread::sleep_for(std::chrono::seconds(1));
        auto now = thread_switches(program.pid());
        std::string ignored;
        const bool quiet = wake_ups(last, now, &ignored) == 0;
        last = now;
        if (quiet) break;
    }
    std::this_thread::sleep_for(std::chrono::seconds(5));
    std::string which;
    EXPECT_LE(wake_ups(last, thread_switches(program.pid()), &which), IDLE_WAKE_UPS) << "woken:" << which;

    screen.close_request(main);
    EXPECT_EQ(program.exit_code(), 0);
}

}  // namespace
