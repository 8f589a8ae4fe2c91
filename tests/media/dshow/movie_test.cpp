// Movies against the real DirectShow graph: the interfaces a movie holds, the
// graphs let go, the graph's state and position, and the audio level control.
// The rules every back end keeps are checked in movie_test.cpp, what is heard
// in movie_sound_test.cpp.
#include <gtest/gtest.h>

#include "runtime/media/dshow/movie_record.h"
#include "runtime/media/media.h"
#include "runtime/text/text.h"
#include "tests/media/dshow/media_test_support.h"

namespace {

class Movie : public ::testing::Test {
protected:
    void SetUp() override {
        if (!audio_phase_is("null-sink")) GTEST_SKIP() << "needs the private audio server (run_media_tests.sh)";
        ASSERT_NE(movie_init(), 0);
        tone = media_file(u"tone.wav");
    }
    void TearDown() override { movie_end(); }

    // Loads the tone under the number and checks that a graph is there.
    MovieRecord* load_tone(ObjectNumber number) {
        std::intptr_t result = movie_load(number, tone.c_str());
        EXPECT_NE(result, 0) << "could not load " << std::string(tone.begin(), tone.end());
        return movie_find(number == DYNAMIC_ID ? result : number);
    }

    std::u16string tone;
};

// After the service let go of a graph, the test's own reference is the last.
bool only_reference_left(IGraphBuilder* graph) { return graph->Release() == 0; }

TEST_F(Movie, LoadedMovieIsStoppedAtItsStart) {
    std::intptr_t result = movie_load(0, tone.c_str());
    ASSERT_NE(result, 0);
    MovieRecord* m = movie_find(0);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(result, reinterpret_cast<std::intptr_t>(m->graph));
    EXPECT_NE(m->control, nullptr);
    EXPECT_NE(m->events, nullptr);
    EXPECT_NE(m->video_window, nullptr);
    EXPECT_NE(m->audio, nullptr);
    EXPECT_NE(m->video, nullptr);
    EXPECT_NE(m->seeking, nullptr);
    EXPECT_TRUE(text_equal(m->path, tone.c_str()));
    EXPECT_NE(m->path, tone.c_str());  // an own copy
    EXPECT_EQ(graph_state(m->control), State_Stopped);
    EXPECT_EQ(position_seconds(m->seeking), 0.0);
    GUID format{};
    ASSERT_EQ(m->seeking->GetTimeFormat(&format), S_OK);
    EXPECT_TRUE(IsEqualGUID(format, TIME_FORMAT_MEDIA_TIME));
}

TEST_F(Movie, AFailedLoadUnderANumberReleasesTheGraphThatHadIt) {
    MovieRecord* m = load_tone(3);
    ASSERT_NE(m, nullptr);
    IGraphBuilder* old = m->graph;
    old->AddRef();
    const std::u16string missing = media_file(u"missing.wav");
    EXPECT_EQ(movie_load(3, missing.c_str()), 0);
    EXPECT_EQ(movie_find(3), nullptr);
    EXPECT_TRUE(only_reference_left(old));
}

TEST_F(Movie, LoadingUnderAUsedNumberReleasesTheFirstMovie) {
    MovieRecord* m = load_tone(0);
    ASSERT_NE(m, nullptr);
    IGraphBuilder* first = m->graph;
    first->AddRef();
    ASSERT_EQ(movie_play(0, 0), 1);
    ASSERT_EQ(graph_state(m->control), State_Running);

    std::u16string second = media_file(u"tone.ogg");
    ASSERT_NE(movie_load(0, second.c_str()), 0);
    m = movie_find(0);
    ASSERT_NE(m, nullptr);
    EXPECT_NE(m->graph, first);
    EXPECT_TRUE(text_equal(m->path, second.c_str()));
    // Every interface the service held on the first graph is gone, and the
    // first graph was stopped before it was let go.
    IMediaControl* first_control = nullptr;
    ASSERT_EQ(first->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&first_control)), S_OK);
    EXPECT_EQ(graph_state(first_control), State_Stopped);
    first_control->Release();
    EXPECT_TRUE(only_reference_left(first));
}

TEST_F(Movie, FreeReleasesOneMovieOrAll) {
    ObjectNumber dynamic = movie_load(DYNAMIC_ID, tone.c_str());
    ASSERT_NE(dynamic, 0);
    ASSERT_NE(load_tone(0), nullptr);
    ASSERT_NE(load_tone(20), nullptr);  // beyond the first 16 slots: the table grows
    IGraphBuilder* graphs[] = {movie_find(0)->graph, movie_find(20)->graph, movie_find(dynamic)->graph};
    for (IGraphBuilder* graph : graphs) graph->AddRef();
    ASSERT_EQ(movie_play(20, 0), 1);

    movie_free(20);
    EXPECT_EQ(movie_find(20), nullptr);
    EXPECT_NE(movie_find(0), nullptr);
    EXPECT_TRUE(only_reference_left(graphs[1]));

    movie_free(-1);
    EXPECT_EQ(movie_find(0), nullptr);
    EXPECT_EQ(movie_find(dynamic), nullptr);
    EXPECT_TRUE(only_reference_left(graphs[0]));
    EXPECT_TRUE(only_reference_left(graphs[2]));
}

TEST_F(Movie, TheGraphFollowsTheMoviesState) {
    MovieRecord* m = load_tone(0);
    ASSERT_NE(m, nullptr);
    movie_pause(0);  // not playing
    movie_resume(0);  // not paused
    EXPECT_EQ(movie_play(0, -1), 0);
    EXPECT_EQ(graph_state(m->control), State_Stopped);
    ASSERT_EQ(movie_play(0, 0), 1);
    EXPECT_EQ(graph_state(m->control), State_Running);
    movie_pause(0);
    movie_pause(0);
    EXPECT_EQ(graph_state(m->control), State_Paused);
    movie_resume(0);
    EXPECT_EQ(graph_state(m->control), State_Running);
    movie_stop(0);
    movie_resume(0);
    EXPECT_EQ(graph_state(m->control), State_Stopped);
}

TEST_F(Movie, StopRewindsToTheStart) {
    MovieRecord* m = load_tone(0);
    ASSERT_NE(m, nullptr);
    ASSERT_EQ(movie_play(0, 0), 1);
    ASSERT_TRUE(wait_for_position(m->seeking, 1.0)) << "the movie did not advance";
    movie_stop(0);
    EXPECT_EQ(graph_state(m->control), State_Stopped);
    double position = position_seconds(m->seeking);
    EXPECT_GE(position, 0.0);
    EXPECT_LT(position, 0.1);
}

TEST_F(Movie, PlayRestartsAPausedMovieFromTheBeginning) {
    MovieRecord* m = load_tone(0);
    ASSERT_NE(m, nullptr);
    ASSERT_EQ(movie_play(0, 0), 1);
    ASSERT_TRUE(wait_for_position(m->seeking, 2.0)) << "the movie did not advance";
    movie_pause(0);
    ASSERT_EQ(graph_state(m->control), State_Paused);
    double paused_at = position_seconds(m->seeking);
    ASSERT_GE(paused_at, 2.0);

    EXPECT_EQ(movie_play(0, 0), 1);
    double restarted_at = position_seconds(m->seeking);
    EXPECT_LT(restarted_at, paused_at - 1.0);
    EXPECT_EQ(movie_state(0), MOVIE_PLAYING);
    EXPECT_EQ(graph_state(m->control), State_Running);
}

TEST_F(Movie, VolumeAndBalanceReachTheAudioControl) {
    MovieRecord* m = load_tone(0);
    ASSERT_NE(m, nullptr);
    ASSERT_NE(m->audio, nullptr);
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

TEST_F(Movie, EndReleasesTheGraphs) {
    ASSERT_NE(movie_init(), 0);  // a second user of the layer
    MovieRecord* m = load_tone(0);
    ASSERT_NE(m, nullptr);
    IGraphBuilder* graph = m->graph;
    graph->AddRef();
    movie_end();
    EXPECT_EQ(movie_find(0), nullptr);
    EXPECT_TRUE(only_reference_left(graph));
}

}  // namespace
