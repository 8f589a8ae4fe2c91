// Movies on a real GStreamer pipeline: a file named in bytes that are not
// UTF-8, and the volume and balance the pipeline is given. The rules every
// back end keeps, and how the pipeline follows them, are checked in
// ../movie_test.cpp, what is heard in ../movie_sound_test.cpp.
#include <gst/gst.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "runtime/file/path_bytes.h"
#include "runtime/media/media.h"
#include "tests/media/media_files.h"
#include "tests/media/movie_probe.h"

namespace {

GObject* pipeline_of(ObjectNumber number) { return reinterpret_cast<GObject*>(native_movie(number)); }

class Movie : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(movie_init(), 0); }
    void TearDown() override { movie_end(); }
};

TEST_F(Movie, AFileNamedInBytesThatAreNotUtf8LoadsByThatName) {
    const std::string named = std::getenv("MEDIA_TEST_DIR") + std::string("/tone \xE9.wav");
    std::filesystem::copy_file(media_file(u"tone.wav"), named, std::filesystem::copy_options::overwrite_existing);
    EXPECT_NE(movie_load(1, path_text_of(named).c_str()), 0);
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
    ASSERT_NE(movie_load(0, media_file(u"tone.wav").c_str()), 0);
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
