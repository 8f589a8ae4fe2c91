// The native program as a person meets it: started as a process of its own
// without a sound server, it shows the no-sound box, then the testing notice,
// then the main window centred on the screen; asked to close it, it ends with
// exit code 0. A second X client finds the windows, presses Return and asks
// to close, as a person and a window manager would. Shown and left alone,
// the program sleeps: none of its threads wakes.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <thread>

#include "tests/support/x_person.h"

namespace {

// The program as a process of its own, without a sound server; -1 when it
// could not be started.
pid_t start_program() {
    const pid_t program = fork();
    if (program == 0) {
        setenv("PULSE_SERVER", "unix:/nonexistent", 1);  // no sound server
        // The sanitizers' leak report on GTK's memory at exit would change the exit code.
        setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
        execl(TUNELATHE_PROGRAM, TUNELATHE_PROGRAM, static_cast<char*>(nullptr));
        _exit(127);
    }
    return program;
}

TEST(StartUp, NoSoundBoxNoticeMainWindowAndCloseWithExitCodeZero) {
    XPerson screen;
    ASSERT_TRUE(screen.open());
    const pid_t program = start_program();
    ASSERT_GE(program, 0);
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
    const pid_t program = start_program();
    ASSERT_GE(program, 0);
    for (const char* box : {"No sound available!", "Information on TESTING version"}) {
        const unsigned long shown = screen.wait_for(box);
        ASSERT_NE(shown, 0u) << box;
        screen.press_return(shown);
    }
    const unsigned long main = screen.wait_for(".: Tunelathe :.V 0.5.206");
    ASSERT_NE(main, 0u);

    // Settled: the show, its paint and what follows them are over once a
    // second passes without a switch (ten seconds at most).
    auto last = thread_switches(program);
    for (int second = 0; second < 10; ++second) {
        std::this_thread::sleep_for(std::chrono::seconds(1));
        auto now = thread_switches(program);
        std::string ignored;
        const bool quiet = wake_ups(last, now, &ignored) == 0;
        last = now;
        if (quiet) break;
    }
    std::this_thread::sleep_for(std::chrono::seconds(5));
    std::string which;
    EXPECT_LE(wake_ups(last, thread_switches(program), &which), IDLE_WAKE_UPS) << "woken:" << which;

    screen.close_request(main);
    EXPECT_EQ(exit_code_of(program), 0);
}

}  // namespace
