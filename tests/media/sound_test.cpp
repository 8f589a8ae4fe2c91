// The sound device check and the delay, the same on every back end: with the
// private audio server the device is usable, without any server it is not,
// however often it is checked. What the check leaves on Windows is checked in
// dshow/sound_window_test.cpp.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

#include "runtime/media/media.h"
#include "tests/media/media_files.h"

namespace {

TEST(SoundWithAudioServer, DeviceIsUsableAgainAndAfterItsEnd) {
    ASSERT_TRUE(audio_phase_is("null-sink")) << "needs the private audio server (run_media_tests.sh)";
    EXPECT_NE(sound_init(), 0);
    EXPECT_NE(sound_init(), 0);  // a second check reuses the device
    sound_end();
    EXPECT_NE(sound_init(), 0);
    sound_end();
    sound_end();  // a second end finds nothing to do
}

TEST(SoundWithoutAudioServer, DeviceCheckFailsEveryTime) {
    ASSERT_TRUE(audio_phase_is("none")) << "needs a run without any audio server (run_media_tests.sh)";
    EXPECT_EQ(sound_init(), 0);
    // A second check fails again rather than reporting a half-made device.
    EXPECT_EQ(sound_init(), 0);
    sound_end();
}

TEST(TimeDelay, SuspendsForAtLeastTheDelay) {
    const auto start = std::chrono::steady_clock::now();
    time_delay(120);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(120));
}

// On a thread of its own, so that a delay of weeks fails the test rather
// than hanging the run.
TEST(TimeDelay, NegativeDelayReturnsAtOnce) {
    std::promise<void> returned;
    std::future<void> done = returned.get_future();
    std::thread delay([returned = std::move(returned)]() mutable {
        time_delay(-5);
        returned.set_value();
    });
    const bool in_time = done.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
    EXPECT_TRUE(in_time) << "time_delay(-5) did not return";
    if (in_time) delay.join();
    else delay.detach();
}

}  // namespace
