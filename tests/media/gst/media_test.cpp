// The media service on a real GStreamer pipeline: what the pipeline holds
// after each operation. run_media_tests.sh makes the test media and runs the
// program once without an audio server and once with a private one; what
// plays is heard in movie_sound_test.cpp.
#include <gst/gst.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "runtime/file/path_bytes.h"
#include "runtime/media/gst/movie_record.h"
#include "runtime/media/media.h"
#include "tests/media/media_files.h"

namespace {

GstElement* pipeline_of(ObjectNumber number) { return movie_table()->find(number)->playbin; }

GstState pipeline_state(ObjectNumber number) {
    GstState state = GST_STATE_VOID_PENDING;
    gst_element_get_state(pipeline_of(number), &state, nullptr, 5 * GST_SECOND);
    return state;
}

double position_seconds(ObjectNumber number) {
    gint64 position = -1;
    if (!gst_element_query_position(pipeline_of(number), GST_FORMAT_TIME, &position)) return -1;
    return static_cast<double>(position) / GST_SECOND;
}

TEST(SoundWithoutAudioServer, DeviceCheckFails) {
    ASSERT_TRUE(audio_phase_is("none"));
    EXPECT_EQ(sound_init(), 0);
    sound_end();
}

TEST(SoundWithAudioServer, DeviceIsUsable) {
    ASSERT_TRUE(audio_phase_is("null-sink"));
    EXPECT_NE(sound_init(), 0);
    sound_end();
}

TEST(TimeDelay, SuspendsForAtLeastTheDelay) {
    const auto start = std::chrono::steady_clock::now();
    time_delay(120);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(120));
    time_delay(-5);
}

class Movie : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(movie_init(), 0); }
    void TearDown() override { movie_end(); }
    const std::u16string tone = media_file(u"tone.wav");
};

TEST_F(Movie, LoadedMovieIsStoppedAtItsStart) {
    const std::intptr_t result = movie_load(0, tone.c_str());
    ASSERT_NE(result, 0);
    EXPECT_EQ(result, reinterpret_cast<std::intptr_t>(pipeline_of(0)));
    EXPECT_EQ(pipeline_state(0), GST_STATE_PAUSED);
    EXPECT_EQ(position_seconds(0), 0.0);
    const auto dynamic = static_cast<ObjectNumber>(movie_load(DYNAMIC_ID, tone.c_str()));
    EXPECT_NE(dynamic, reinterpret_cast<std::intptr_t>(pipeline_of(dynamic)));

    // A file named in bytes that are not UTF-8 loads by that name.
    const std::string folder = std::getenv("MEDIA_TEST_DIR");
    std::filesystem::copy_file(folder + "/tone.wav", folder + "/tone \xE9.wav",
                               std::filesystem::copy_options::overwrite_existing);
    EXPECT_NE(movie_load(1, path_text_of(folder + "/tone \xE9.wav").c_str()), 0);
}

TEST_F(Movie, LoadingUnderAUsedNumberReleasesTheFirstMovie) {
    ASSERT_NE(movie_load(0, tone.c_str()), 0);
    GstElement* first = pipeline_of(0);
    g_object_add_weak_pointer(G_OBJECT(first), reinterpret_cast<gpointer*>(&first));
    const std::u16string ogg = media_file(u"tone.ogg");
    ASSERT_NE(movie_load(0, ogg.c_str()), 0);
    EXPECT_EQ(first, nullptr);
}

TEST_F(Movie, ThePipelineFollowsTheStateAndPlayRewinds) {
    ASSERT_NE(movie_load(0, tone.c_str()), 0);
    ASSERT_EQ(movie_play(0, 0), 1);
    EXPECT_EQ(pipeline_state(0), GST_STATE_PLAYING);
    for (int waited = 0; waited < 5000 && position_seconds(0) < 0.3; waited += 50) time_delay(50);
    movie_pause(0);
    EXPECT_EQ(pipeline_state(0), GST_STATE_PAUSED);
    EXPECT_GT(position_seconds(0), 0.2);
    movie_play(0, 0);  // from the beginning again
    EXPECT_LT(position_seconds(0), 0.3);
    movie_stop(0);
    EXPECT_EQ(position_seconds(0), 0.0);
}

// The pipeline's volume once it is near the expected one, or after a second:
// a sound server's own stream volume (PipeWire's) reports a change late.
double volume_reaching(ObjectNumber number, double expected) {
    double volume = -1;
    for (int waited = 0; waited <= 1000; waited += 10) {
        g_object_get(pipeline_of(number), "volume", &volume, nullptr);
        if (std::abs(volume - expected) < 0.01) break;
        g_usleep(10000);
    }
    return volume;
}

TEST_F(Movie, VolumeAndBalanceReachThePipeline) {
    ASSERT_NE(movie_load(0, tone.c_str()), 0);
    movie_volume_set(0, 100, 0);
    EXPECT_DOUBLE_EQ(volume_reaching(0, 1.0), 1.0);
    movie_volume_set(0, 50, 0);
    EXPECT_NEAR(volume_reaching(0, 0.5), 0.5, 0.01);  // 6 dB below full
    movie_volume_set(0, -20, 0);  // clamped to silence
    EXPECT_EQ(volume_reaching(0, 0.0), 0.0);

    // Balance lowers the other side by as many decibels: a linear factor 1 - |panorama|.
    GstElement* balance = nullptr;
    g_object_get(pipeline_of(0), "audio-filter", &balance, nullptr);
    ASSERT_NE(balance, nullptr);
    const struct {
        int balance;
        float panorama;
    } cases[] = {{0, 0.0f}, {-100, -0.99999f}, {100, 0.99999f}, {37, 0.98587f}, {-6, -0.49881f}, {150, 0.99999f}};
    for (const auto& c : cases) {
        movie_volume_set(0, 100, c.balance);
        float panorama = 2;
        g_object_get(balance, "panorama", &panorama, nullptr);
        EXPECT_NEAR(panorama, c.panorama, 0.0001) << "balance " << c.balance;
    }
    gst_object_unref(balance);
}

}  // namespace
