// What the movies sound like, the same on every back end: the private audio
// server's null sink is recorded while a 440 Hz tone plays, pauses, resumes,
// stops, and changes volume and balance; and a server that goes away while
// a tone plays hangs nothing.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <string>
#include <thread>

#include "runtime/media/media.h"
#include "tests/media/media_files.h"
#include "tests/support/monitor_probe.h"

namespace {

class MovieSound : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(audio_phase_is("null-sink")) << "needs the private audio server (run_media_tests.sh)";
        ASSERT_NE(movie_init(), 0);
    }
    void TearDown() override { movie_end(); }

    // Loads and starts a file at full volume, centred; whether it plays.
    static bool play(const std::u16string& path) {
        if (!movie_load(0, path.c_str())) return false;
        movie_volume_set(0, 100, 0);
        return movie_play(0, 0) == 1 && movie_state(0) == MOVIE_PLAYING;
    }
    static bool play(const char16_t* name) { return play(media_file(name)); }
};

TEST_F(MovieSound, PlayPauseResumeAndStopAsHeard) {
    ASSERT_TRUE(play(u"tone.wav"));
    MonitorLevels playing = hear_settled();
    EXPECT_GT(playing.rms_peak.overall, AUDIBLE_DB) << "playing";
    EXPECT_NEAR(playing.frequency, 440, 15) << "the tone itself";

    movie_pause(0);
    EXPECT_LT(hear_settled().peak.overall, SILENCE_DB) << "paused";

    movie_resume(0);
    EXPECT_GT(hear_settled().rms_peak.overall, AUDIBLE_DB) << "resumed";

    movie_pause(0);
    movie_play(0, 0);  // play on a paused movie starts it again
    EXPECT_GT(hear_settled().rms_peak.overall, AUDIBLE_DB) << "played after pause";

    movie_stop(0);
    EXPECT_LT(hear_settled().peak.overall, SILENCE_DB) << "stopped";

    movie_resume(0);  // does nothing after a stop
    EXPECT_LT(hear_settled().peak.overall, SILENCE_DB) << "resumed after stop";
}

TEST_F(MovieSound, VolumeFiftyIsSixDecibelsBelowFullAndBalanceSendsTheToneToOneSide) {
    ASSERT_TRUE(play(u"tone.wav"));
    const MonitorLevels centre = hear_settled();
    const double full = centre.rms_peak.overall;
    ASSERT_GT(full, AUDIBLE_DB);
    EXPECT_NEAR(centre.rms_peak.left, centre.rms_peak.right, 1.0);

    movie_volume_set(0, 50, 0);
    double half = hear_settled().rms_peak.overall;
    EXPECT_NEAR(full - half, 6.03, 1.0) << "full " << full << " dB, volume 50 " << half << " dB";

    movie_volume_set(0, 0, 0);
    EXPECT_LT(hear_settled().peak.overall, SILENCE_DB) << "volume 0";

    movie_volume_set(0, 100, 0);
    EXPECT_NEAR(hear_settled().rms_peak.overall, full, 1.0) << "back at full volume";

    movie_volume_set(0, 100, -100);
    MonitorLevels left = hear_settled();
    EXPECT_GT(left.rms_peak.left, AUDIBLE_DB);
    EXPECT_LT(left.peak.right, SILENCE_DB);

    movie_volume_set(0, 100, 100);
    MonitorLevels right = hear_settled();
    EXPECT_GT(right.rms_peak.right, AUDIBLE_DB);
    EXPECT_LT(right.peak.left, SILENCE_DB);
}

// A path without its folder is found in the current folder, as the
// platform's file functions find it.
TEST_F(MovieSound, ARelativePathPlaysFromTheCurrentFolder) {
    const std::filesystem::path was = std::filesystem::current_path();
    std::filesystem::current_path(std::filesystem::path(media_test_folder()));
    const bool played = play(std::u16string(u"tone.wav"));
    std::filesystem::current_path(was);
    ASSERT_TRUE(played);
    EXPECT_EQ(movie_state(0), MOVIE_PLAYING);
    EXPECT_TRUE(hears_song_soon(440));
}

TEST_F(MovieSound, NothingPlaysAfterLoadingAnotherFileUnderTheNumberTillItPlays) {
    ASSERT_TRUE(play(u"tone.wav"));
    ASSERT_GT(hear_settled().rms_peak.overall, AUDIBLE_DB);
    std::u16string other = media_file(u"tone.ogg");
    ASSERT_NE(movie_load(0, other.c_str()), 0);  // loaded, not started
    EXPECT_LT(hear_settled().peak.overall, SILENCE_DB);
    ASSERT_TRUE(play(u"tone.ogg"));  // Ogg Vorbis
    EXPECT_GT(hear_settled().rms_peak.overall, AUDIBLE_DB);
    movie_free(0);
    EXPECT_LT(hear_settled().peak.overall, SILENCE_DB) << "after free";
}

// The sound server going away while a movie plays (a headset unplugged, the
// server restarted): the wrapper stops it when asked through a file in the
// media folder. Every operation still returns; a watchdog ends the program
// if one hangs, since a hung call could not be undone.
TEST(SoundServerGoesAway, EveryOperationStillReturns) {
    ASSERT_TRUE(audio_phase_is("server-gone")) << "needs the wrapper's last phase (run_media_tests.sh)";
    const std::filesystem::path folder(media_test_folder());
    ASSERT_NE(movie_init(), 0);
    ASSERT_NE(movie_load(0, media_file(u"tone.wav").c_str()), 0);
    ASSERT_EQ(movie_play(0, 0), 1);
    std::ofstream{folder / "stop-audio-server"};
    for (int waited = 0; waited < 30000 && !std::filesystem::exists(folder / "audio-server-stopped"); waited += 50)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_TRUE(std::filesystem::exists(folder / "audio-server-stopped")) << "the wrapper did not stop the server";

    std::promise<void> finished;
    std::thread watchdog([done = finished.get_future()] {
        if (done.wait_for(std::chrono::seconds(30)) == std::future_status::ready) return;
        std::fprintf(stderr, "an operation hung after the sound server went away\n");
        std::_Exit(1);
    });
    movie_state(0);
    movie_pause(0);
    movie_resume(0);
    movie_volume_set(0, 50, 0);
    movie_stop(0);
    movie_play(0, 0);
    movie_free(0);
    movie_load(0, media_file(u"tone.ogg").c_str());
    movie_play(0, 0);
    movie_end();
    finished.set_value();
    watchdog.join();
}

}  // namespace
