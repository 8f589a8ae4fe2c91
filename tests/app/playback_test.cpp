// Playback and the volume pop-up: the toolbar's Play and Pause buttons, the
// list's selection and the real media graph of movie 0 after each command,
// with songs made and an audio server started by tests/support/with-audio-server.
#include <windows.h>
#include <commctrl.h>
#include <dshow.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/app_state.h"
#include "app/playback.h"
#include "app/playlist.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/toolbar.h"
#include "runtime/gui/window.h"
#include "runtime/media/dshow/movie_record.h"
#include "runtime/media/media.h"
#include "runtime/media/volume_table.h"
#include "tests/app/app_support.h"
#include "tests/support/monitor_probe.h"
#include "tests/support/volume_step.h"
#include "tests/support/window_lists.h"
#include "tests/support/wine_path.h"

namespace {

using namespace std::chrono_literals;

// A song the wrapper made, as a Windows path.
std::u16string song(const char* name) {
    std::wstring path = wine_folder_from("SOUND_TEST_DIR") + L"\\";
    for (const char* c = name; *c; ++c) path += wchar_t(*c);
    return {path.begin(), path.end()};
}

bool pressed(int button) {
    auto toolbar = reinterpret_cast<HWND>(toolbar_handle(MAIN_TOOLBAR));
    return SendMessageW(toolbar, TB_ISBUTTONCHECKED, static_cast<WPARAM>(button), 0) != 0;
}

// The graph's own state once its transition has finished; -1 without movie 0.
int graph_state() {
    MovieRecord* movie = movie_find(0);
    if (!movie) return -1;
    OAFilterState state = -1;
    for (int i = 0; i < 20; ++i) {
        HRESULT hr = movie->control->GetState(1000, &state);
        if (hr == S_OK) return static_cast<int>(state);
        if (FAILED(hr)) return -1;
    }
    return -1;
}

// The file movie 0 was loaded from; empty without movie 0.
std::u16string playing_path() {
    MovieRecord* movie = movie_find(0);
    return movie && movie->path ? movie->path : u"";
}

// The level the song's audio renderer was given, in hundredths of a decibel.
long song_level() {
    MovieRecord* movie = movie_find(0);
    long level = 1;
    if (!movie || !movie->audio || FAILED(movie->audio->get_Volume(&level))) return 1;
    return level;
}

void expect_playing(const std::u16string& path) {
    EXPECT_EQ(app.is_playing, 1);
    EXPECT_EQ(movie_state(0), MOVIE_PLAYING);
    EXPECT_EQ(graph_state(), State_Running);
    EXPECT_EQ(playing_path(), path);
}

void expect_nothing_loaded() {
    EXPECT_EQ(app.is_playing, 0);
    EXPECT_EQ(movie_state(0), 0);
    EXPECT_EQ(movie_find(0), nullptr);
}

class Playback : public AppTest {
protected:
    void SetUp() override {
        if (!std::getenv("SOUND_TEST_DIR")) GTEST_SKIP() << "needs the songs of tests/support/with-audio-server";
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
    void TearDown() override {
        SetMediaAvailable(true);
        StopSong();
        AppTest::TearDown();
    }
    void drop_songs() { ASSERT_TRUE(drop_files({first, second, third})); }

    std::u16string first, second, third;
};

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
    EXPECT_EQ(graph_state(), State_Paused);

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
    MovieRecord* started = movie_find(0);
    ASSERT_NE(started, nullptr);
    IGraphBuilder* graph = started->graph;

    gadget_state_set(PLAYLIST_GADGET, 2);
    PlaySelectedSong();
    EXPECT_EQ(movie_find(0), started);
    EXPECT_EQ(movie_find(0)->graph, graph);
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

    IGraphBuilder* graph = movie_find(0)->graph;
    NextSong();  // at the last row
    EXPECT_EQ(selected_row(), 2);
    EXPECT_EQ(movie_find(0)->graph, graph);
    expect_playing(third);

    PreviousSong();
    EXPECT_EQ(selected_row(), 1);
    expect_playing(second);
    PreviousSong();
    EXPECT_EQ(selected_row(), 0);
    EXPECT_EQ(app.current_index, 0);
    expect_playing(first);

    graph = movie_find(0)->graph;
    PreviousSong();  // at the first row
    EXPECT_EQ(selected_row(), 0);
    EXPECT_EQ(movie_find(0)->graph, graph);
    expect_playing(first);

    // An empty list: Next does nothing.
    ClearPlaylist();
    NextSong();
    EXPECT_EQ(movie_find(0)->graph, graph);
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
    EXPECT_EQ(graph_state(), State_Paused);

    PreviousSong();
    expect_playing(first);
    EXPECT_TRUE(pressed(ToolPause));
    EXPECT_EQ(app.is_paused, 1);
}

TEST_F(Playback, AnEndedSongStaysUntilStop) {
    std::u16string short_song = song("short.wav");
    ASSERT_TRUE(drop_files({short_song, first}));
    PlaySelectedSong();
    MovieRecord* movie = movie_find(0);
    ASSERT_NE(movie, nullptr);
    LONGLONG duration = 0, position = 0;
    ASSERT_TRUE(SUCCEEDED(movie->seeking->GetDuration(&duration)));
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    while (SUCCEEDED(movie->seeking->GetCurrentPosition(&position)) && position < duration &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(50ms);
    ASSERT_GE(position, duration) << "the song did not reach its end";

    gadget_state_set(PLAYLIST_GADGET, 1);
    PlaySelectedSong();  // starts nothing
    EXPECT_EQ(movie_find(0), movie);
    EXPECT_EQ(playing_path(), short_song);
    EXPECT_EQ(app.is_playing, 1);

    gadget_state_set(PLAYLIST_GADGET, 0);
    StopSong();
    PlaySelectedSong();
    expect_playing(short_song);
    ASSERT_TRUE(SUCCEEDED(movie_find(0)->seeking->GetCurrentPosition(&position)));
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

// ---------------------------------------------------------------------------
// The volume pop-up runs its own loop on the test thread; a person on another
// thread looks at it, moves its slider and moves the pointer away.

struct PopupView {
    HWND popup = nullptr;
    POINT origin{};  // the inner area's top-left corner on the screen
    RECT inner{};
    int mouse_x = 0, mouse_y = 0;  // window_mouse_x/y of the pop-up
    int slider = -1;
    std::wstring tooltip;
    bool stayed_open = false;  // while events came with the pointer inside
    std::wstring moved_tooltip;
    bool closed = false;
};

HWND slider_of(HWND popup) { return FindWindowExW(popup, nullptr, TRACKBAR_CLASSW, nullptr); }

HWND find_popup(DWORD thread) {
    for (HWND hwnd : thread_windows(thread))
        if (IsWindowVisible(hwnd) && slider_of(hwnd)) return hwnd;
    return nullptr;
}

// The slider's tool text in the thread's tooltip window.
std::wstring tooltip_text(DWORD thread, HWND popup) {
    for (HWND tips : thread_windows(thread)) {
        if (class_name(tips) != TOOLTIPS_CLASSW) continue;
        wchar_t text[256] = L"";
        TOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.hwnd = popup;
        tool.uId = reinterpret_cast<UINT_PTR>(slider_of(popup));
        tool.lpszText = text;
        DWORD_PTR result = 0;
        SendMessageTimeoutW(tips, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&tool), SMTO_ABORTIFHUNG, 5000,
                            &result);
        if (text[0]) return text;
    }
    return L"";
}

bool eventually(const std::function<bool()>& check) {
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (!check()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

// Looks at the pop-up, moves the slider to move_to (-1: leaves it), then
// puts the pointer at leave_at and sends an event.
PopupView use_popup(DWORD thread, int move_to, POINT leave_at) {
    PopupView view;
    if (!eventually([&] { return (view.popup = find_popup(thread)) != nullptr; })) return view;
    HWND popup = view.popup;
    ClientToScreen(popup, &view.origin);
    GetClientRect(popup, &view.inner);
    view.mouse_x = window_mouse_x(VOLUME_WINDOW);
    view.mouse_y = window_mouse_y(VOLUME_WINDOW);
    view.slider = static_cast<int>(SendMessageW(slider_of(popup), TBM_GETPOS, 0, 0));
    eventually([&] { return !(view.tooltip = tooltip_text(thread, popup)).empty(); });
    for (int i = 0; i < 3; ++i) PostMessageW(popup, WM_NULL, 0, 0);
    std::this_thread::sleep_for(300ms);
    view.stayed_open = IsWindow(popup);
    if (move_to >= 0) {
        SendMessageW(slider_of(popup), TBM_SETPOS, TRUE, move_to);
        PostMessageW(popup, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, move_to),
                     reinterpret_cast<LPARAM>(slider_of(popup)));
        const std::wstring expected = L"Volume: " + std::to_wstring(move_to);
        eventually([&] { return (view.moved_tooltip = tooltip_text(thread, popup)) == expected; });
    }
    SetCursorPos(leave_at.x, leave_at.y);
    view.closed = eventually([&] {
        PostMessageW(popup, WM_NULL, 0, 0);
        return !IsWindow(popup);
    });
    return view;
}

PopupView change_volume(POINT pointer, int move_to, POINT leave_at) {
    SetCursorPos(pointer.x, pointer.y);
    PopupView view;
    std::thread person([&, thread = GetCurrentThreadId()] { view = use_popup(thread, move_to, leave_at); });
    ChangeVolume();
    person.join();
    return view;
}

TEST_F(Playback, VolumePopupSetsTheVolumeOfThePlayingAndTheNextSong) {
    drop_songs();
    PlaySelectedSong();
    ASSERT_EQ(song_level(), volume_level(75));
    const double at_75 = hear_settled().rms_peak.overall;

    PopupView view = change_volume({400, 300}, 40, {1200, 1000});
    ASSERT_NE(view.popup, nullptr) << "no pop-up appeared";
    EXPECT_EQ(view.origin.x, 390);
    EXPECT_EQ(view.origin.y, 290);
    EXPECT_EQ(view.inner.right, 200);
    EXPECT_EQ(view.inner.bottom, 50);
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
    ASSERT_NE(view.popup, nullptr) << "no pop-up appeared";
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

}  // namespace
