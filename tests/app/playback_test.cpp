// Playback and the volume pop-up: the toolbar's Play and Pause buttons, the
// list's selection and the real media engine of movie 0 after each command, with songs made and an
// audio server started by tests/support/with-audio-server.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "app/app_state.h"
#include "app/playback.h"
#include "app/playlist.h"
#include "runtime/gui/gadget.h"
#include "runtime/media/media.h"
#include "runtime/gui/window.h"
#include "runtime/media/volume_table.h"
#include "tests/app/app_support.h"
#include "tests/app/playback_test.h"
#include "tests/app/playback_probe.h"
#include "tests/app/volume_popup.h"
#include "tests/support/person.h"
#include "tests/support/monitor_probe.h"
#include "tests/support/volume_step.h"

namespace {

using namespace std::chrono_literals;

// A song the wrapper made.
std::u16string song(const char* name) {
    std::wstring path = folder_named_in("SOUND_TEST_DIR") + SEPARATOR;
    for (const char* c = name; *c; ++c) path += wchar_t(*c);
    return {path.begin(), path.end()};
}

}  // namespace

void expect_playing(const std::u16string& path) {
    EXPECT_EQ(app.is_playing, 1);
    EXPECT_EQ(movie_state(0), MOVIE_PLAYING);
    EXPECT_EQ(engine_state(), EngineState::running);
    EXPECT_EQ(playing_path(), path);
}

void expect_nothing_loaded() {
    EXPECT_EQ(app.is_playing, 0);
    EXPECT_EQ(movie_state(0), 0);
    EXPECT_EQ(song_record(), nullptr);
}

void Playback::SetUp() {
    if (folder_named_in("SOUND_TEST_DIR").empty()) GTEST_SKIP() << "needs the songs of tests/support/with-audio-server";
    AppTest::SetUp();
    // The program's start-up check, once; runtime_end ends both.
    static bool media_started = false;
    if (!media_started) {
        ASSERT_NE(sound_init(), 0);
        ASSERT_NE(movie_init(), 0);
        media_started = true;
    }
    SetMediaAvailable(true);
    StopSong();
    app.volume = 75;
    first = song("first.wav");
    second = song("second.wav");
    third = song("third.wav");
}

void Playback::TearDown() {
    SetMediaAvailable(true);
    StopSong();
    AppTest::TearDown();
}

void Playback::drop_songs() { ASSERT_TRUE(drop_files({first, second, third})); }

namespace {

TEST_F(Playback, PlayPauseAndStopFollowTheStateTable) {
    drop_songs();
    ASSERT_EQ(gadget_item_count(PLAYLIST_GADGET), 3);
    expect_nothing_loaded();
    EXPECT_FALSE(pressed(ToolPlay));

    // Nothing selected: the first song plays, and stays unselected.
    PlaySelectedSong();
    EXPECT_TRUE(pressed(ToolPlay));
    expect_playing(first);
    EXPECT_EQ(selected_row(), -1);
    EXPECT_EQ(app.current_index, 0);
    EXPECT_EQ(std::u16string(app.current_song_path.c_str()), first);
    EXPECT_EQ(song_level(), volume_level(75));

    TogglePause();
    EXPECT_TRUE(pressed(ToolPause));
    EXPECT_EQ(app.is_paused, 1);
    EXPECT_EQ(app.is_playing, 1);
    EXPECT_EQ(movie_state(0), MOVIE_PAUSED);
    EXPECT_EQ(engine_state(), EngineState::paused);

    TogglePause();
    EXPECT_FALSE(pressed(ToolPause));
    EXPECT_EQ(app.is_paused, 0);
    expect_playing(first);

    // Stop while paused releases both buttons and the song.
    TogglePause();
    StopSong();
    EXPECT_FALSE(pressed(ToolPlay));
    EXPECT_FALSE(pressed(ToolPause));
    EXPECT_EQ(app.is_paused, 0);
    expect_nothing_loaded();

    // The next Pause pauses (the flag was cleared), with nothing loaded.
    TogglePause();
    EXPECT_TRUE(pressed(ToolPause));
    EXPECT_EQ(app.is_paused, 1);
    expect_nothing_loaded();
    StopSong();
    EXPECT_FALSE(pressed(ToolPause));
    EXPECT_EQ(app.is_paused, 0);

    // Play from a pause without song plays and keeps the Pause button in.
    TogglePause();
    PlaySelectedSong();
    expect_playing(first);
    EXPECT_TRUE(pressed(ToolPause));
    EXPECT_EQ(app.is_paused, 1);
}

TEST_F(Playback, PlayWhilePlayingKeepsTheSongButMovesTheIndex) {
    drop_songs();
    PlaySelectedSong();
    const void* started = song_record();
    ASSERT_NE(started, nullptr);
    const void* engine = song_engine();

    gadget_state_set(PLAYLIST_GADGET, 2);
    PlaySelectedSong();
    EXPECT_EQ(song_record(), started);
    EXPECT_EQ(song_engine(), engine);
    expect_playing(first);
    EXPECT_EQ(app.current_index, 2);
    EXPECT_EQ(std::u16string(app.current_song_path.c_str()), third);

    // Stop and Play start the selected song.
    StopSong();
    PlaySelectedSong();
    expect_playing(third);
    EXPECT_EQ(selected_row(), 2);
}

TEST_F(Playback, NextAndPreviousMoveTheSelectionAndPlay) {
    drop_songs();
    PreviousSong();  // nothing selected
    expect_nothing_loaded();
    EXPECT_EQ(selected_row(), -1);

    NextSong();
    EXPECT_EQ(selected_row(), 0);
    EXPECT_EQ(app.current_index, 0);
    expect_playing(first);
    EXPECT_FALSE(pressed(ToolPlay)) << "Next leaves the Play button alone";

    NextSong();
    EXPECT_EQ(selected_row(), 1);
    expect_playing(second);
    NextSong();
    EXPECT_EQ(selected_row(), 2);
    expect_playing(third);

    const void* engine = song_engine();
    NextSong();  // at the last row
    EXPECT_EQ(selected_row(), 2);
    EXPECT_EQ(song_engine(), engine);
    expect_playing(third);

    PreviousSong();
    EXPECT_EQ(selected_row(), 1);
    expect_playing(second);
    PreviousSong();
    EXPECT_EQ(selected_row(), 0);
    EXPECT_EQ(app.current_index, 0);
    expect_playing(first);

    engine = song_engine();
    PreviousSong();  // at the first row
    EXPECT_EQ(selected_row(), 0);
    EXPECT_EQ(song_engine(), engine);
    expect_playing(first);

    // An empty list: Next does nothing.
    ClearPlaylist();
    NextSong();
    EXPECT_EQ(song_engine(), engine);
    expect_playing(first);
}

TEST_F(Playback, NextAndPreviousWhilePausedKeepThePauseButton) {
    drop_songs();
    gadget_state_set(PLAYLIST_GADGET, 0);
    PlaySelectedSong();
    TogglePause();
    ASSERT_EQ(movie_state(0), MOVIE_PAUSED);

    NextSong();
    expect_playing(second);
    EXPECT_TRUE(pressed(ToolPause));
    EXPECT_EQ(app.is_paused, 1);

    // The first press only releases the button; the song goes on.
    TogglePause();
    EXPECT_FALSE(pressed(ToolPause));
    EXPECT_EQ(app.is_paused, 0);
    expect_playing(second);
    TogglePause();
    EXPECT_TRUE(pressed(ToolPause));
    EXPECT_EQ(movie_state(0), MOVIE_PAUSED);
    EXPECT_EQ(engine_state(), EngineState::paused);

    PreviousSong();
    expect_playing(first);
    EXPECT_TRUE(pressed(ToolPause));
    EXPECT_EQ(app.is_paused, 1);
}

TEST_F(Playback, AnEndedSongStaysUntilStop) {
    std::u16string short_song = song("short.wav");
    ASSERT_TRUE(drop_files({short_song, first}));
    PlaySelectedSong();
    const void* movie = song_record();
    ASSERT_NE(movie, nullptr);
    const long long duration = song_duration();
    ASSERT_GT(duration, 0);
    long long position = 0;
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    while ((position = song_position()) >= 0 && position < duration && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(50ms);
    ASSERT_GE(position, duration) << "the song did not reach its end";

    gadget_state_set(PLAYLIST_GADGET, 1);
    PlaySelectedSong();  // starts nothing
    EXPECT_EQ(song_record(), movie);
    EXPECT_EQ(playing_path(), short_song);
    EXPECT_EQ(app.is_playing, 1);

    gadget_state_set(PLAYLIST_GADGET, 0);
    StopSong();
    PlaySelectedSong();
    expect_playing(short_song);
    position = song_position();
    ASSERT_GE(position, 0);
    EXPECT_LT(position, duration) << "played again from its beginning";
}

TEST_F(Playback, RowsWithoutAPlayableFilePlayNothing) {
    // A row loaded from a playlist file: no local path.
    AppendTrack(u"/loaded.wav", u"");
    std::u16string missing = u16(path(L"missing.wav"));
    AppendTrack(u"/missing.wav", missing.c_str());

    PlaySelectedSong();
    EXPECT_TRUE(pressed(ToolPlay));
    EXPECT_EQ(app.current_index, 0);
    expect_nothing_loaded();

    NextSong();
    EXPECT_EQ(selected_row(), 0);
    expect_nothing_loaded();
    NextSong();
    EXPECT_EQ(selected_row(), 1);
    EXPECT_EQ(std::u16string(app.current_song_path.c_str()), missing);
    expect_nothing_loaded();
    PreviousSong();
    EXPECT_EQ(selected_row(), 0);
    expect_nothing_loaded();
    EXPECT_TRUE(pressed(ToolPlay)) << "stays pressed in until Stop";
}

TEST_F(Playback, WithoutMediaEveryCommandIsHarmless) {
    drop_songs();
    SetMediaAvailable(false);
    PlaySelectedSong();
    EXPECT_TRUE(pressed(ToolPlay));
    expect_nothing_loaded();
    NextSong();
    EXPECT_EQ(selected_row(), 0);
    NextSong();
    PreviousSong();
    EXPECT_EQ(selected_row(), 0);
    expect_nothing_loaded();
    TogglePause();
    EXPECT_TRUE(pressed(ToolPause));
    EXPECT_EQ(app.is_paused, 1);
    StopSong();
    EXPECT_FALSE(pressed(ToolPlay));
    EXPECT_FALSE(pressed(ToolPause));
    EXPECT_EQ(app.is_paused, 0);
    expect_nothing_loaded();
}

// Enter is the Play button. Space plays the selected song when nothing plays
// and is the Pause button while a song plays or is paused; with nothing
// selected both play the first song, as the Play button does.
TEST_F(Playback, EnterAndSpacePlayAndPauseAsTheirButtons) {
    drop_songs();
    gadget_state_set(PLAYLIST_GADGET, 1);
    press_in_main_window(KEY_RETURN);
    EXPECT_TRUE(pressed(ToolPlay));
    expect_playing(second);
    EXPECT_EQ(app.current_index, 1);

    StopSong();
    press_in_main_window(KEY_SPACE);
    EXPECT_TRUE(pressed(ToolPlay));
    expect_playing(second);
    press_in_main_window(KEY_SPACE);
    EXPECT_TRUE(pressed(ToolPause));
    EXPECT_EQ(app.is_paused, 1);
    EXPECT_EQ(movie_state(0), MOVIE_PAUSED);
    EXPECT_EQ(engine_state(), EngineState::paused);
    press_in_main_window(KEY_SPACE);
    EXPECT_FALSE(pressed(ToolPause));
    EXPECT_EQ(app.is_paused, 0);
    expect_playing(second);

    StopSong();
    gadget_state_set(PLAYLIST_GADGET, -1);
    press_in_main_window(KEY_SPACE);
    expect_playing(first);
    EXPECT_EQ(selected_row(), -1);
    StopSong();
    press_in_main_window(KEY_RETURN);
    expect_playing(first);
    EXPECT_EQ(selected_row(), -1);
}

// The volume pop-up runs its own loop on the test thread while the person
// looks at it, moves its slider and moves the pointer away.
TEST_F(Playback, VolumePopupSetsTheVolumeOfThePlayingAndTheNextSong) {
    drop_songs();
    PlaySelectedSong();
    ASSERT_EQ(song_level(), volume_level(75));
    const double at_75 = hear_settled().rms_peak.overall;

    PopupView view = change_volume({400, 300}, 40, {1200, 1000});
    ASSERT_TRUE(view.appeared) << "no pop-up appeared";
    EXPECT_EQ(view.origin.x, 390);
    EXPECT_EQ(view.origin.y, 290);
    EXPECT_EQ(view.inner_width, 200);
    EXPECT_EQ(view.inner_height, 50);
    EXPECT_EQ(view.mouse_x, 10);
    EXPECT_EQ(view.mouse_y, 10);
    EXPECT_EQ(view.slider, 75);
    EXPECT_EQ(view.tooltip, L"Volume: 75");
    EXPECT_TRUE(view.stayed_open) << "closed with the pointer inside";
    EXPECT_EQ(view.moved_tooltip, L"Volume: 40");
    EXPECT_TRUE(view.closed);
    EXPECT_EQ(window_handle(VOLUME_WINDOW), 0);
    EXPECT_EQ(app.volume, 40);
    expect_playing(first);
    EXPECT_EQ(song_level(), volume_level(40));
    EXPECT_NEAR(hear_settled().rms_peak.overall - at_75, volume_step_db(75, 40), 1.0) << "the playing song got quieter";

    // Nothing playing: the pop-up opens at the remembered value, and the
    // pointer on its leftmost column closes it; the next song gets the volume.
    StopSong();
    view = change_volume({600, 500}, 100, {590, 510});
    ASSERT_TRUE(view.appeared) << "no pop-up appeared";
    EXPECT_EQ(view.origin.x, 590);
    EXPECT_EQ(view.slider, 40);
    EXPECT_EQ(view.tooltip, L"Volume: 40");
    EXPECT_EQ(view.moved_tooltip, L"Volume: 100");
    EXPECT_TRUE(view.closed);
    EXPECT_EQ(app.volume, 100);
    expect_nothing_loaded();
    PlaySelectedSong();
    expect_playing(first);
    EXPECT_EQ(song_level(), volume_level(100));
    EXPECT_NEAR(hear_settled().rms_peak.overall - at_75, volume_step_db(75, 100), 1.0) << "the next song plays louder";
}

TEST_F(Playback, ADoubleClickOnARowPlaysItsSong) {
    drop_songs();
    click_row(PLAYLIST_GADGET, 1, 2);
    handle_list_events();
    expect_playing(second);
    EXPECT_TRUE(pressed(ToolPlay));
    EXPECT_TRUE(hears_song_soon(550));

    // Another row's, while a song plays: that row's song instead.
    click_row(PLAYLIST_GADGET, 2, 2);
    handle_list_events();
    expect_playing(third);
    EXPECT_EQ(selected_row(), 2);
    EXPECT_TRUE(hears_song_soon(660));
}

TEST_F(Playback, ADoubleClickReadAfterItsRowWentPlaysNothing) {
    drop_songs();
    click_row(PLAYLIST_GADGET, 1, 2);
    settle();
    DeleteTrack();  // Delete, handled before the double click is read
    handle_list_events();
    expect_nothing_loaded();
    EXPECT_EQ(rows().size(), 2u);
    EXPECT_EQ(entries().size(), 2u);
}

TEST_F(Playback, ARowDraggedWhileItsSongPlaysKeepsPlayingAndNextGoesOnFromItsNewPlace) {
    drop_songs();
    gadget_state_set(PLAYLIST_GADGET, 0);
    PlaySelectedSong();
    const void* playing = song_record();
    drag_row(0, 1, 3);
    EXPECT_EQ(handle_list_events(), 1);
    EXPECT_EQ(selected_row(), 1);
    EXPECT_EQ(song_record(), playing) << "the playing song goes on";
    expect_playing(first);
    NextSong();
    expect_playing(third);
    EXPECT_EQ(selected_row(), 2);
}

}  // namespace
