// A person's listening sessions with a working audio device (the private
// audio server of tests/support/with-audio-server): two songs dragged onto
// the list, the second chosen and played, paused, skipped back to the first,
// stopped, and the program closed; and a playlist on the player's drive E:
// (tests/scenario/with-player-drive) opened and played. What played is heard
// on the server's monitor, told apart by the songs' pitches.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/scenario/desktop.h"
#include "tests/scenario/file_dialog.h"
#include "tests/scenario/file_drag.h"
#include "tests/scenario/playlist_view.h"
#include "tests/support/file_bytes.h"
#include "tests/support/monitor_probe.h"
#include "tests/support/wine_path.h"

namespace {

constexpr int STOP = 8, PLAY = 9, PAUSE = 10, NEXT = 11, PREVIOUS = 12;
constexpr double FIRST_HZ = 440, SECOND_HZ = 550;

TEST(SoundScenario, NoSoundBoxStaysAwayAndTheChosenSongPlaysPausesAndStops) {
    const char* songs = std::getenv("SOUND_TEST_DIR");
    ASSERT_NE(songs, nullptr) << "run this program through tests/support/with-audio-server";
    OleSession ole;
    ASSERT_TRUE(SUCCEEDED(ole.started));

    RunningProgram program(std::vector<std::wstring>{});  // this environment: the private audio server
    ASSERT_NE(program.main_window, nullptr);
    EXPECT_EQ(program.start_up.no_sound_boxes, 0) << "sound works, yet the program said it did not";
    HWND list = find_list(program.main_window);
    ASSERT_NE(list, nullptr);
    auto press = [&](int id) { click_toolbar_button(program.process, program.main_window, id); };
    auto pressed_in = [&](int id) { return toolbar_button_pressed(program.main_window, id); };

    const std::wstring folder = wine_path(songs) + L"\\";
    RECT list_rect{};
    GetClientRect(list, &list_rect);
    DragResult drag = drag_files({folder + L"first.wav", folder + L"second.wav"},
                                 {GetSystemMetrics(SM_CXSCREEN) - 5, GetSystemMetrics(SM_CYSCREEN) - 5},
                                 centre_on_screen(list, list_rect));
    EXPECT_EQ(drag.result, DRAGDROP_S_DROP);
    ASSERT_TRUE(wait_until([&] { return list_rows(list).size() == 2; }, 5000)) << "the drop brought no rows";
    // The player sees Wine's drive Z: as its root: the rows are the Unix paths.
    const std::string unix_folder = std::string(songs) + "/";
    const std::wstring row_folder(unix_folder.begin(), unix_folder.end());
    EXPECT_EQ(list_rows(list), (std::vector<std::wstring>{row_folder + L"first.wav", row_folder + L"second.wav"}));
    EXPECT_TRUE(hears_silence_soon()) << "before Play";

    click_row(list, 1);
    ASSERT_TRUE(wait_until([&] { return selected_row(list) == 1; }, 3000)) << "the click selected no row";
    press(PLAY);
    ASSERT_TRUE(wait_until([&] { return pressed_in(PLAY); }, 3000));
    EXPECT_TRUE(hears_song_soon(SECOND_HZ)) << "Play";

    press(PAUSE);
    ASSERT_TRUE(wait_until([&] { return pressed_in(PAUSE); }, 3000));
    EXPECT_TRUE(hears_silence_soon()) << "Pause";

    // The last song is chosen: Next has nowhere to go.
    press(NEXT);
    EXPECT_TRUE(hears_silence_soon()) << "Next at the last song";
    EXPECT_EQ(selected_row(list), 1);
    EXPECT_TRUE(pressed_in(PAUSE));

    // Previous while paused plays the first song; Pause stays pressed in, and
    // the next press only lets it out.
    press(PREVIOUS);
    ASSERT_TRUE(wait_until([&] { return selected_row(list) == 0; }, 3000)) << "Previous chose no song";
    EXPECT_TRUE(hears_song_soon(FIRST_HZ)) << "Previous";
    EXPECT_TRUE(pressed_in(PAUSE));
    press(PAUSE);
    ASSERT_TRUE(wait_until([&] { return !pressed_in(PAUSE); }, 3000));
    EXPECT_TRUE(hears_song_soon(FIRST_HZ)) << "Pause let out";

    press(STOP);
    ASSERT_TRUE(wait_until([&] { return !pressed_in(PLAY); }, 3000));
    EXPECT_FALSE(pressed_in(PAUSE));
    EXPECT_TRUE(hears_silence_soon()) << "Stop";

    // The dropped songs were never saved: closing asks, and No ends it.
    PostMessageW(program.main_window, WM_SYSCOMMAND, SC_CLOSE, 0);
    Box question = wait_for_box(program.process, 10000);
    ASSERT_NE(question.dialog, nullptr) << "closing with unsaved changes asked nothing";
    EXPECT_EQ(question.title, L"Unsaved Data!");
    ASSERT_TRUE(answer_box(question.dialog, IDNO));
    EXPECT_EQ(program.process.wait_for_exit(10000), 0);
}

TEST(SoundScenario, AnOpenedPlaylistPlaysTheTracksThePlayerWould) {
    const char* songs = std::getenv("SOUND_TEST_DIR");
    ASSERT_NE(songs, nullptr) << "run this program through tests/support/with-audio-server";
    const std::wstring folder = wine_path(songs) + L"\\";
    ASSERT_TRUE(CopyFileW((folder + L"first.wav").c_str(), L"E:\\Music\\low.wav", FALSE))
        << "drive E: is missing: run this program through tests/scenario/with-player-drive";
    ASSERT_TRUE(CopyFileW((folder + L"second.wav").c_str(), L"E:\\Music\\high.wav", FALSE));
    ASSERT_TRUE(CreateDirectoryW(L"E:\\Music\\Artist", nullptr));
    ASSERT_TRUE(CopyFileW((folder + L"second.wav").c_str(), L"E:\\Music\\Artist\\b.wav", FALSE));
    // The last line was written on another computer: the player finds its
    // track through its fallback, /Music/Artist/b.wav.
    ASSERT_TRUE(write_file_bytes(L"E:\\Playlists\\list.m3u", "#EXTM3U\r\n/Music/low.wav\r\n..\\Music\\high.wav\r\n"
                                                             "C:\\Users\\me\\Music\\iTunes\\Music\\Artist\\b.wav\r\n"));

    RunningProgram program(std::vector<std::wstring>{});
    ASSERT_NE(program.main_window, nullptr);
    HWND list = find_list(program.main_window);
    ASSERT_NE(list, nullptr);
    auto press = [&](int id) { click_toolbar_button(program.process, program.main_window, id); };
    auto pressed_in = [&](int id) { return toolbar_button_pressed(program.main_window, id); };

    press(1);
    HWND open = wait_for_file_dialog(program.process, L"Open M3U file", 15000);
    ASSERT_NE(open, nullptr) << "Open showed no dialog";
    ASSERT_TRUE(choose_file(open, L"E:\\Playlists\\list.m3u"));
    ASSERT_TRUE(wait_until([&] { return list_rows(list).size() == 4; }, 5000)) << "the playlist brought no rows";

    // The third line is relative to the playlist's folder: the high song.
    click_row(list, 2);
    ASSERT_TRUE(wait_until([&] { return selected_row(list) == 2; }, 3000)) << "the click selected no row";
    press(PLAY);
    ASSERT_TRUE(wait_until([&] { return pressed_in(PLAY); }, 3000));
    EXPECT_TRUE(hears_song_soon(SECOND_HZ)) << "Play on ..\\Music\\high.wav";
    press(STOP);
    ASSERT_TRUE(wait_until([&] { return !pressed_in(PLAY); }, 3000));

    // Previous from the third row: the second line starts at the drive's root.
    click_row(list, 2);
    press(PLAY);
    press(PREVIOUS);
    ASSERT_TRUE(wait_until([&] { return selected_row(list) == 1; }, 3000)) << "Previous chose no song";
    EXPECT_TRUE(hears_song_soon(FIRST_HZ)) << "Previous to /Music/low.wav";
    press(STOP);
    ASSERT_TRUE(wait_until([&] { return !pressed_in(PLAY); }, 3000));

    click_row(list, 3);
    ASSERT_TRUE(wait_until([&] { return selected_row(list) == 3; }, 3000)) << "the click selected no row";
    press(PLAY);
    EXPECT_TRUE(hears_song_soon(SECOND_HZ)) << "Play on the line written on another computer";
    press(STOP);
    ASSERT_TRUE(wait_until([&] { return !pressed_in(PLAY); }, 3000));

    // The header line names no track: nothing plays, nothing breaks.
    click_row(list, 0);
    ASSERT_TRUE(wait_until([&] { return selected_row(list) == 0; }, 3000));
    press(PLAY);
    EXPECT_TRUE(hears_silence_soon()) << "Play on #EXTM3U";
    press(STOP);
    EXPECT_TRUE(program.process.windows(L"#32770").empty()) << "a box came up";

    // Nothing was changed: closing asks nothing.
    PostMessageW(program.main_window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(program.process.wait_for_exit(10000), 0);
}

}  // namespace
