// What the movies sound like: the private audio server's null sink is
// recorded while a 440 Hz tone plays, pauses, resumes, stops, and changes
// volume and balance.
#include <gtest/gtest.h>

#include "runtime/media/dshow/movie_record.h"
#include "runtime/media/media.h"
#include "tests/media/dshow/media_test_support.h"
#include "tests/support/monitor_probe.h"

namespace {

class MovieSound : public ::testing::Test {
protected:
    void SetUp() override {
        if (!audio_phase_is("null-sink")) GTEST_SKIP() << "needs the private audio server (run_media_tests.sh)";
        ASSERT_NE(movie_init(), 0);
    }
    void TearDown() override { movie_end(); }

    // Loads and starts a file at full volume, centred.
    MovieRecord* play(const char16_t* name) {
        std::u16string path = media_file(name);
        if (!movie_load(0, path.c_str())) return nullptr;
        movie_volume_set(0, 100, 0);
        if (movie_play(0, 0) != 1) return nullptr;
        MovieRecord* m = movie_find(0);
        return graph_state(m->control) == State_Running ? m : nullptr;
    }
};

TEST_F(MovieSound, PlayPauseResumeAndStopAsHeard) {
    ASSERT_NE(play(u"tone.wav"), nullptr);
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

TEST_F(MovieSound, VolumeFiftyIsSixDecibelsBelowFull) {
    ASSERT_NE(play(u"tone.wav"), nullptr);
    double full = hear_settled().rms_peak.overall;
    ASSERT_GT(full, AUDIBLE_DB);

    movie_volume_set(0, 50, 0);
    double half = hear_settled().rms_peak.overall;
    EXPECT_NEAR(full - half, 6.03, 1.0) << "full " << full << " dB, volume 50 " << half << " dB";

    movie_volume_set(0, 0, 0);
    EXPECT_LT(hear_settled().peak.overall, SILENCE_DB) << "volume 0";

    movie_volume_set(0, 100, 0);
    EXPECT_NEAR(hear_settled().rms_peak.overall, full, 1.0) << "back at full volume";
}

TEST_F(MovieSound, BalanceSendsTheToneToOneSide) {
    ASSERT_NE(play(u"tone.wav"), nullptr);
    MonitorLevels centre = hear_settled();
    EXPECT_NEAR(centre.rms_peak.left, centre.rms_peak.right, 1.0);

    movie_volume_set(0, 100, -100);
    MonitorLevels left = hear_settled();
    EXPECT_GT(left.rms_peak.left, AUDIBLE_DB);
    EXPECT_LT(left.peak.right, SILENCE_DB);

    movie_volume_set(0, 100, 100);
    MonitorLevels right = hear_settled();
    EXPECT_GT(right.rms_peak.right, AUDIBLE_DB);
    EXPECT_LT(right.peak.left, SILENCE_DB);
}

TEST_F(MovieSound, OggVorbisPlays) {
    ASSERT_NE(play(u"tone.ogg"), nullptr);
    EXPECT_GT(hear_settled().rms_peak.overall, AUDIBLE_DB);
    movie_free(0);
    EXPECT_LT(hear_settled().peak.overall, SILENCE_DB) << "after free";
}

TEST_F(MovieSound, NothingPlaysAfterLoadingAnotherFileUnderTheNumber) {
    ASSERT_NE(play(u"tone.wav"), nullptr);
    ASSERT_GT(hear_settled().rms_peak.overall, AUDIBLE_DB);
    std::u16string other = media_file(u"tone.ogg");
    ASSERT_NE(movie_load(0, other.c_str()), 0);  // loaded, not started
    EXPECT_LT(hear_settled().peak.overall, SILENCE_DB);
}

}  // namespace
