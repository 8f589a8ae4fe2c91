// Movies as the program drives them, the same on every back end: loading,
// numbers fixed, dynamic, unknown and stale, freeing, the state rules, and
// calls before the service starts and after it ends; and how the graph or the
// pipeline follows (movie_probe.h). What only one of them holds is checked in
// dshow/ and gst/; what is heard in movie_sound_test.cpp.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "runtime/media/media.h"
#include "tests/media/media_files.h"
#include "tests/media/movie_probe.h"

namespace {

void expect_no_movie(ObjectNumber number) {
    EXPECT_EQ(movie_state(number), 0) << number;
    EXPECT_EQ(movie_play(number, 0), 0) << number;
    EXPECT_EQ(movie_video_width(number), -1) << number;
    EXPECT_EQ(movie_video_height(number), -1) << number;
    EXPECT_EQ(native_movie(number), 0) << number;
}

TEST(MovieBeforeInit, OperationsDoNothing) {
    const std::u16string tone = media_file(u"tone.wav");
    EXPECT_EQ(movie_load(0, tone.c_str()), 0);
    movie_pause(0);
    movie_resume(0);
    movie_stop(0);
    movie_volume_set(0, 50, 0);
    movie_free(0);
    movie_free(-1);
    expect_no_movie(0);
    movie_end();
}

class MovieService : public ::testing::Test {
protected:
    void SetUp() override {
        if (!audio_phase_is("null-sink")) GTEST_SKIP() << "needs the private audio server (run_media_tests.sh)";
        ASSERT_NE(movie_init(), 0);
    }
    void TearDown() override {
        movie_end();
        EXPECT_EQ(native_alive(), 0) << "kept after the end";
    }
    const std::u16string tone = media_file(u"tone.wav");
};

TEST_F(MovieService, ALoadedSoundIsStoppedAtItsStartAndHasNoVideo) {
    const std::intptr_t result = movie_load(0, tone.c_str());
    ASSERT_NE(result, 0);
    EXPECT_EQ(result, native_movie(0));
    EXPECT_EQ(movie_state(0), MOVIE_STOPPED);
    EXPECT_EQ(native_state(0), NATIVE_STOPPED);
    EXPECT_EQ(native_position(0), 0.0);
    EXPECT_EQ(movie_video_width(0), -1);
    EXPECT_EQ(movie_video_height(0), -1);
    const auto dynamic = static_cast<ObjectNumber>(movie_load(DYNAMIC_ID, tone.c_str()));
    ASSERT_NE(native_movie(dynamic), 0);
    EXPECT_NE(dynamic, native_movie(dynamic));  // the number, not the graph or pipeline
}

TEST_F(MovieService, AVideoHasItsNativeSize) {
    const std::u16string video = media_file(u"video.avi");
    ASSERT_TRUE(write_avi(video, 160, 120, 30));
    ASSERT_NE(movie_load(0, video.c_str()), 0);
    EXPECT_EQ(movie_video_width(0), 160);
    EXPECT_EQ(movie_video_height(0), 120);
}

TEST_F(MovieService, FilesThatCannotBeLoadedLeaveTheNumberFree) {
    const std::u16string missing = media_file(u"missing.wav");
    const std::u16string not_a_sound = media_file(u"not-a-sound.wav");
    EXPECT_EQ(movie_load(0, missing.c_str()), 0);
    EXPECT_EQ(movie_load(1, not_a_sound.c_str()), 0);
    EXPECT_EQ(movie_load(2, nullptr), 0);
    EXPECT_EQ(movie_load(-7, tone.c_str()), 0);
    EXPECT_EQ(movie_load(DYNAMIC_ID, missing.c_str()), 0);
    for (const ObjectNumber number : {0, 1, 2}) expect_no_movie(number);
    // A failed load under a number still releases the movie that had it.
    ASSERT_NE(movie_load(3, tone.c_str()), 0);
    native_watch(3);
    EXPECT_EQ(movie_load(3, missing.c_str()), 0);
    expect_no_movie(3);
    EXPECT_EQ(native_alive(), 0);
}

TEST_F(MovieService, LoadingUnderAUsedNumberReplacesAPlayingMovie) {
    ASSERT_NE(movie_load(0, tone.c_str()), 0);
    const std::intptr_t first = native_movie(0);
    native_watch(0);
    ASSERT_EQ(movie_play(0, 0), 1);
    ASSERT_EQ(native_state(0), NATIVE_PLAYING);
    const std::u16string ogg = media_file(u"tone.ogg");
    ASSERT_NE(movie_load(0, ogg.c_str()), 0);
    EXPECT_EQ(movie_state(0), MOVIE_STOPPED);
    EXPECT_NE(native_movie(0), first);
    EXPECT_EQ(native_alive(), 0);
}

TEST_F(MovieService, FreeAndDynamicNumbers) {
    const auto a = static_cast<ObjectNumber>(movie_load(DYNAMIC_ID, tone.c_str()));
    const auto b = static_cast<ObjectNumber>(movie_load(DYNAMIC_ID, tone.c_str()));
    ASSERT_NE(a, 0);
    ASSERT_NE(b, 0);
    EXPECT_NE(a, b);
    expect_no_movie(0);  // no numbered slot was taken
    EXPECT_EQ(movie_play(a, 0), 1);
    EXPECT_EQ(movie_state(a), MOVIE_PLAYING);
    EXPECT_EQ(movie_state(b), MOVIE_STOPPED);
    ASSERT_NE(movie_load(0, tone.c_str()), 0);
    ASSERT_NE(movie_load(20, tone.c_str()), 0);  // beyond the first slots: the table grows
    for (const ObjectNumber number : {a, b, ObjectNumber{0}, ObjectNumber{20}}) native_watch(number);
    movie_free(a);  // playing
    movie_free(20);
    expect_no_movie(a);
    expect_no_movie(20);
    EXPECT_EQ(native_alive(), 2);
    EXPECT_EQ(movie_state(b), MOVIE_STOPPED);
    movie_free(-1);
    expect_no_movie(b);
    expect_no_movie(0);
    EXPECT_EQ(native_alive(), 0);
    EXPECT_NE(movie_load(0, tone.c_str()), 0);  // the number is free again
}

TEST_F(MovieService, PauseResumeStopAndPlayActInTheirStates) {
    ASSERT_NE(movie_load(0, tone.c_str()), 0);
    movie_pause(0);  // not playing
    movie_resume(0);  // not paused
    EXPECT_EQ(movie_state(0), MOVIE_STOPPED);
    EXPECT_EQ(movie_play(0, -1), 0);  // owner -1 is refused
    EXPECT_EQ(movie_state(0), MOVIE_STOPPED);
    EXPECT_EQ(native_state(0), NATIVE_STOPPED);
    ASSERT_EQ(movie_play(0, 0), 1);
    EXPECT_EQ(native_state(0), NATIVE_PLAYING);
    movie_resume(0);  // already playing
    EXPECT_EQ(movie_state(0), MOVIE_PLAYING);
    movie_pause(0);
    movie_pause(0);  // the second pause does nothing
    EXPECT_EQ(movie_state(0), MOVIE_PAUSED);
    EXPECT_EQ(native_state(0), NATIVE_PAUSED);
    movie_resume(0);
    EXPECT_EQ(movie_state(0), MOVIE_PLAYING);
    EXPECT_EQ(native_state(0), NATIVE_PLAYING);
    movie_stop(0);
    movie_resume(0);  // stopped is not paused
    EXPECT_EQ(movie_state(0), MOVIE_STOPPED);
    EXPECT_EQ(native_state(0), NATIVE_STOPPED);
}

TEST_F(MovieService, StopRewindsToTheStart) {
    ASSERT_NE(movie_load(0, tone.c_str()), 0);
    ASSERT_EQ(movie_play(0, 0), 1);
    ASSERT_TRUE(wait_for_position(0, 1.0)) << "the movie did not advance";
    movie_stop(0);
    EXPECT_EQ(native_state(0), NATIVE_STOPPED);
    EXPECT_EQ(native_position(0), 0.0);
}

TEST_F(MovieService, PlayStartsAPausedMovieFromTheBeginning) {
    ASSERT_NE(movie_load(0, tone.c_str()), 0);
    ASSERT_EQ(movie_play(0, 0), 1);
    ASSERT_TRUE(wait_for_position(0, 2.0)) << "the movie did not advance";
    movie_pause(0);
    ASSERT_EQ(native_state(0), NATIVE_PAUSED);
    const double paused_at = native_position(0);
    ASSERT_GE(paused_at, 2.0);
    EXPECT_EQ(movie_play(0, 0), 1);  // a paused movie too
    const double restarted_at = native_position(0);
    EXPECT_LT(restarted_at, paused_at - 1.0);
    EXPECT_LT(restarted_at, 0.3);
    EXPECT_EQ(movie_state(0), MOVIE_PLAYING);
    EXPECT_EQ(native_state(0), NATIVE_PLAYING);
    movie_stop(0);
    EXPECT_EQ(native_position(0), 0.0);
}

TEST_F(MovieService, NumbersWithoutAMovieDoNothingAndLeaveOthersAlone) {
    ASSERT_NE(movie_load(0, tone.c_str()), 0);
    ASSERT_NE(movie_load(6, tone.c_str()), 0);
    movie_free(6);  // a stale number
    for (const ObjectNumber number : {ObjectNumber{5}, ObjectNumber{6}, ObjectNumber{-5}, ObjectNumber{INT_MAX}}) {
        movie_pause(number);
        movie_resume(number);
        movie_stop(number);
        movie_volume_set(number, INT_MAX, INT_MIN);
        movie_free(number);
        expect_no_movie(number);
    }
    movie_volume_set(0, INT_MAX, INT_MIN);  // clamped, never rejected
    movie_volume_set(0, -100000, 100000);
    EXPECT_EQ(movie_state(0), MOVIE_STOPPED);  // the other movie is untouched
}

TEST_F(MovieService, EndReleasesEveryMovieOncePerInit) {
    ASSERT_NE(movie_init(), 0);  // a second user of the service
    ASSERT_NE(movie_load(0, tone.c_str()), 0);
    native_watch(0);
    movie_end();
    expect_no_movie(0);
    EXPECT_EQ(native_alive(), 0);
    // The service stays for the first user; the fixture's end closes it.
    EXPECT_NE(movie_load(1, tone.c_str()), 0);
    movie_end();
    expect_no_movie(1);
    EXPECT_EQ(movie_load(0, tone.c_str()), 0);
    movie_end();  // nothing left to end
    ASSERT_NE(movie_init(), 0);  // for the fixture's end
}

}  // namespace
