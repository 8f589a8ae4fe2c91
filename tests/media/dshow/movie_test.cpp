// Movies against the real DirectShow graph: the interfaces a movie holds, its
// own copy of the path, a graph stopped before it is let go, and the audio
// level control. The rules every back end keeps, and how the graph follows
// them, are checked in ../movie_test.cpp, what is heard in
// ../movie_sound_test.cpp.
#include <gtest/gtest.h>

#include "runtime/media/dshow/movie_record.h"
#include "runtime/media/media.h"
#include "runtime/text/text.h"
#include "tests/media/media_files.h"

namespace {

class Movie : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(audio_phase_is("null-sink")) << "needs the private audio server (run_media_tests.sh)";
        ASSERT_NE(movie_init(), 0);
        ASSERT_NE(movie_load(0, tone.c_str()), 0);
        m = movie_find(0);
        ASSERT_NE(m, nullptr);
    }
    void TearDown() override { movie_end(); }

    const std::u16string tone = media_file(u"tone.wav");
    MovieRecord* m = nullptr;
};

TEST_F(Movie, TheRecordHoldsEveryInterfaceAndItsOwnPath) {
    EXPECT_NE(m->control, nullptr);
    EXPECT_NE(m->events, nullptr);
    EXPECT_NE(m->video_window, nullptr);
    EXPECT_NE(m->audio, nullptr);
    EXPECT_NE(m->video, nullptr);
    EXPECT_NE(m->seeking, nullptr);
    EXPECT_TRUE(text_equal(m->path, tone.c_str()));
    EXPECT_NE(m->path, tone.c_str());  // an own copy
    GUID format{};
    ASSERT_EQ(m->seeking->GetTimeFormat(&format), S_OK);
    EXPECT_TRUE(IsEqualGUID(format, TIME_FORMAT_MEDIA_TIME));
}

TEST_F(Movie, APlayingGraphIsStoppedBeforeAnotherFileTakesItsNumber) {
    IGraphBuilder* first = m->graph;
    first->AddRef();
    ASSERT_EQ(movie_play(0, 0), 1);
    const std::u16string second = media_file(u"tone.ogg");
    ASSERT_NE(movie_load(0, second.c_str()), 0);
    EXPECT_TRUE(text_equal(movie_find(0)->path, second.c_str()));
    IMediaControl* first_control = nullptr;
    ASSERT_EQ(first->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&first_control)), S_OK);
    OAFilterState state = -1;
    EXPECT_EQ(first_control->GetState(10000, &state), S_OK);
    EXPECT_EQ(state, State_Stopped);
    first_control->Release();
    first->Release();
}

TEST_F(Movie, VolumeAndBalanceReachTheAudioControl) {
    struct Case {
        int volume, balance;
        long level, pan;
    };
    const Case cases[] = {{50, 0, -603, 0},       {100, 100, 0, 10000},  {75, -37, -250, -3700},
                          {150, 101, 0, 10000},   {0, -100, -10000, -10000}, {-5, -101, -10000, -10000},
                          {1, 5, -4000, 500}};
    for (const Case& c : cases) {
        movie_volume_set(0, c.volume, c.balance);
        long level = 1, pan = 1;
        ASSERT_EQ(m->audio->get_Volume(&level), S_OK);
        ASSERT_EQ(m->audio->get_Balance(&pan), S_OK);
        EXPECT_EQ(level, c.level) << "volume " << c.volume;
        EXPECT_EQ(pan, c.pan) << "balance " << c.balance;
    }
}

}  // namespace
