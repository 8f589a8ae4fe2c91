// When a scenario fails, what the screen showed at that moment is kept in its
// work folder (SOUND_TEST_DIR, in the build folder) as SUITE.TEST.png: in a
// Wayland session the display weston draws into (SEAT_DISPLAY), with the
// compositor's own panel, frames and pointer; otherwise the test's display.
// It has the scenarios' main, which adds that to gtest's.
#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace {

class FailureScreenshot : public testing::EmptyTestEventListener {
    // Kept here: asking gtest for the current test while it reports a
    // failure would wait on its own lock.
    void OnTestStart(const testing::TestInfo& test) override {
        name_ = std::string(test.test_suite_name()) + "." + test.name();
        taken_ = false;
    }
    // The first failure's screen: later ones often only follow from it.
    void OnTestPartResult(const testing::TestPartResult& result) override {
        if (!result.failed() || taken_) return;
        taken_ = true;
        const char* folder = std::getenv("SOUND_TEST_DIR");
        const char* seat = std::getenv("SEAT_DISPLAY");
        const char* display = seat ? seat : std::getenv("DISPLAY");
        if (!folder || !display) return;
        const std::string file = std::string(folder) + "/" + name_ + ".png";
        // Spawned, not forked: a fork of this many-threaded process may hang
        // on a lock another thread held.
        std::string arguments[] = {"import", "-display", display, "-window", "root", file};
        char* argv[] = {arguments[0].data(), arguments[1].data(), arguments[2].data(), arguments[3].data(),
                        arguments[4].data(), arguments[5].data(), nullptr};
        pid_t taker = 0;
        if (posix_spawnp(&taker, "import", nullptr, nullptr, argv, environ) == 0) waitpid(taker, nullptr, 0);
    }
    std::string name_;
    bool taken_ = false;
};

}  // namespace

// This program's own main, as gtest's, with the listener added.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new FailureScreenshot);
    return RUN_ALL_TESTS();
}
