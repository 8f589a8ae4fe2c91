// A person's session with the program: files dragged from the player's drive
// (E:, set up by with-player-drive), a track moved, the playlist saved
// through the save dialog; then the playlist opened again, edited, and the
// program closed without saving.
#include <gtest/gtest.h>

#include <ole2.h>

#include <string>
#include <vector>

#include "tests/scenario/desktop.h"
#include "tests/scenario/file_dialog.h"
#include "tests/scenario/file_drag.h"
#include "tests/scenario/playlist_view.h"
#include "tests/support/file_bytes.h"
#include "tests/support/playlist_bytes.h"

namespace {

const std::wstring music = L"E:\\Music\\";
const std::wstring playlist_file = L"E:\\Playlists\\Road trip.m3u";
const std::string saved_bytes = saved_playlist_bytes({"/Music/Alpha.mp3", "/Music/Charlie.mp3", "/Music/Bravo.mp3"});
const std::wstring plain_title = L".: Tunelathe :.V 0.5.206";

// The names of the files in a folder.
std::vector<std::wstring> files_in(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

// The file's bytes; "<missing>" when it cannot be read.
std::string file_bytes(const std::wstring& path) { return read_file_bytes(path).value_or("<missing>"); }

TEST(PlaylistScenario, DropMoveSaveThenOpenEditAndCloseWithoutSaving) {
    ASSERT_NE(GetFileAttributesW((music + L"Alpha.mp3").c_str()), INVALID_FILE_ATTRIBUTES)
        << "drive E: is missing: run this program through tests/scenario/with-player-drive";
    OleSession ole;
    ASSERT_TRUE(SUCCEEDED(ole.started));

    {
        RunningProgram program;
        ASSERT_NE(program.main_window, nullptr);
        HWND list = find_list(program.main_window);
        ASSERT_NE(list, nullptr);

        // Three files dragged from a corner of the screen onto the list.
        RECT list_rect{};
        GetClientRect(list, &list_rect);
        const int screen_width = GetSystemMetrics(SM_CXSCREEN), screen_height = GetSystemMetrics(SM_CYSCREEN);
        DragResult drag = drag_files({music + L"Alpha.mp3", music + L"Bravo.mp3", music + L"Charlie.mp3"},
                                     {screen_width - 5, screen_height - 5}, centre_on_screen(list, list_rect));
        EXPECT_EQ(drag.result, DRAGDROP_S_DROP);
        EXPECT_NE(drag.effect, static_cast<DWORD>(DROPEFFECT_NONE));
        ASSERT_TRUE(wait_until([&] { return list_rows(list).size() == 3; }, 5000)) << "the drop brought no rows";
        EXPECT_EQ(list_rows(list), (std::vector<std::wstring>{L"/Music/Alpha.mp3", L"/Music/Bravo.mp3",
                                                          L"/Music/Charlie.mp3"}));

        // The last track one place up.
        click_row(list, 2);
        ASSERT_TRUE(wait_until([&] { return selected_row(list) == 2; }, 3000)) << "the click selected no row";
        click_toolbar_button(program.process, program.main_window, 5);
        ASSERT_TRUE(wait_until([&] { return list_rows(list)[1] == L"/Music/Charlie.mp3"; }, 3000));
        EXPECT_EQ(list_rows(list), (std::vector<std::wstring>{L"/Music/Alpha.mp3", L"/Music/Charlie.mp3",
                                                          L"/Music/Bravo.mp3"}));
        EXPECT_EQ(selected_row(list), 1) << "the moved track stays selected";
        EXPECT_EQ(window_text(program.main_window), plain_title);

        // Save asks for a name; the typed name gets its extension.
        click_toolbar_button(program.process, program.main_window, 2);
        HWND save = wait_for_file_dialog(program.process, L"Save file", 15000);
        ASSERT_NE(save, nullptr) << "Save showed no dialog: " << testing::PrintToString(describe_dialogs(program.process));
        EXPECT_EQ(file_name_field(save), L"Playlist.m3u");
        ASSERT_TRUE(choose_file(save, L"E:\\Playlists\\Road trip"));
        EXPECT_TRUE(wait_until([&] { return window_text(program.main_window) == plain_title + L" : Road trip.m3u"; },
                               5000))
            << "title: " << testing::PrintToString(window_text(program.main_window));
        EXPECT_EQ(file_bytes(playlist_file), saved_bytes);
        EXPECT_EQ(files_in(L"E:\\Playlists"), std::vector<std::wstring>{L"Road trip.m3u"}) << "no temporary file left";

        // Saved: the close button ends the program without a question.
        PostMessageW(program.main_window, WM_SYSCOMMAND, SC_CLOSE, 0);
        long code = program.process.wait_for_exit(10000);
        EXPECT_TRUE(program.process.windows(L"#32770").empty()) << "a box came on closing a saved playlist";
        EXPECT_EQ(code, 0);
    }

    RunningProgram program;
    ASSERT_NE(program.main_window, nullptr);
    HWND list = find_list(program.main_window);
    ASSERT_NE(list, nullptr);

    click_toolbar_button(program.process, program.main_window, 1);
    HWND open = wait_for_file_dialog(program.process, L"Open M3U file", 15000);
    ASSERT_NE(open, nullptr) << "Open showed no dialog: " << testing::PrintToString(describe_dialogs(program.process));
    ASSERT_TRUE(choose_file(open, playlist_file));
    ASSERT_TRUE(wait_until([&] { return list_rows(list).size() == 3; }, 5000)) << "the opened file brought no rows";
    EXPECT_EQ(list_rows(list), (std::vector<std::wstring>{L"/Music/Alpha.mp3", L"/Music/Charlie.mp3",
                                                      L"/Music/Bravo.mp3"}));
    EXPECT_EQ(window_text(program.main_window), plain_title + L" : Road trip.m3u");

    // The first track deleted, then the close button: the program asks.
    click_row(list, 0);
    ASSERT_TRUE(wait_until([&] { return selected_row(list) == 0; }, 3000));
    click_toolbar_button(program.process, program.main_window, 4);
    ASSERT_TRUE(wait_until([&] { return list_rows(list).size() == 2; }, 3000)) << "Delete removed nothing";
    // Nothing is chosen now: Delete again removes nothing.
    EXPECT_EQ(selected_row(list), -1);
    click_toolbar_button(program.process, program.main_window, 4);
    EXPECT_FALSE(wait_until([&] { return list_rows(list).size() != 2; }, 1000)) << "a second Delete removed a row";
    EXPECT_EQ(list_rows(list), (std::vector<std::wstring>{L"/Music/Charlie.mp3", L"/Music/Bravo.mp3"}));

    PostMessageW(program.main_window, WM_SYSCOMMAND, SC_CLOSE, 0);
    Box question = wait_for_box(program.process, 10000);
    ASSERT_NE(question.dialog, nullptr) << "closing with unsaved changes asked nothing";
    EXPECT_EQ(question.title, L"Unsaved Data!");
    EXPECT_EQ(question.text, L"Your work has not been saved yet!\r\n"
                             L"Do you want to save before closing the application?");
    EXPECT_TRUE(has_button(question.dialog, IDYES));
    EXPECT_TRUE(has_button(question.dialog, IDNO));
    EXPECT_FALSE(has_button(question.dialog, IDCANCEL));
    ASSERT_TRUE(answer_box(question.dialog, IDNO));
    EXPECT_EQ(program.process.wait_for_exit(10000), 0);
    EXPECT_EQ(file_bytes(playlist_file), saved_bytes) << "answering No changed the file";
}

TEST(PlaylistScenario, APlaylistGivenAtStartIsOpened) {
    // As "Open with" or a playlist dropped onto the program gives it.
    const std::wstring given = L"E:\\Playlists\\Given list.m3u";
    ASSERT_TRUE(write_file_bytes(given, saved_playlist_bytes({"/Music/Charlie.mp3", "/Music/Alpha.mp3"})))
        << "drive E: is missing: run this program through with-player-drive";
    {
        RunningProgram program(no_audio_environment(), tunelathe_path(), {given});
        ASSERT_NE(program.main_window, nullptr);
        HWND list = find_list(program.main_window);
        ASSERT_TRUE(wait_until([&] { return list_rows(list).size() == 2; }, 5000)) << "the given playlist brought no rows";
        EXPECT_EQ(list_rows(list), (std::vector<std::wstring>{L"/Music/Charlie.mp3", L"/Music/Alpha.mp3"}));
        EXPECT_EQ(window_text(program.main_window), plain_title + L" : Given list.m3u");
        // Opened, the list counts as saved: closing asks nothing.
        PostMessageW(program.main_window, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_EQ(program.process.wait_for_exit(10000), 0);
    }

    // A path where there is no playlist, a folder, or more than one path: a
    // box says why, and nothing is opened or made.
    const std::wstring missing = L"E:\\Playlists\\Missing.m3u";
    const struct {
        std::vector<std::wstring> arguments;
        std::wstring said;  // in the box's text
    } cases[] = {
        {{missing}, missing},
        {{L"E:\\Playlists"}, L"E:\\Playlists"},
        {{given, missing}, L"one playlist at a time"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.arguments.size() << " arguments, the first " << c.arguments[0].size()
                                        << " characters long");
        RunningProgram program(no_audio_environment(), tunelathe_path(), c.arguments);
        ASSERT_NE(program.main_window, nullptr);
        Box box = wait_for_box(program.process, 10000);
        ASSERT_NE(box.dialog, nullptr) << "no box said why";
        EXPECT_EQ(box.title, L"Not opened!");
        EXPECT_NE(box.text.find(c.said), std::wstring::npos) << "the box says why";
        ASSERT_TRUE(answer_box(box.dialog, IDOK));
        EXPECT_TRUE(list_rows(find_list(program.main_window)).empty());
        EXPECT_EQ(window_text(program.main_window), plain_title);
        EXPECT_EQ(GetFileAttributesW(missing.c_str()), INVALID_FILE_ATTRIBUTES);
        PostMessageW(program.main_window, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_EQ(program.process.wait_for_exit(10000), 0);
    }
}

TEST(PlaylistScenario, SaveNamesRowsThePlayerWillNotPlayAndFixesWhatItFindsElsewhere) {
    // Written by another tool on another computer, with rows the player
    // finds through its fallback, misses, or cannot play.
    ASSERT_TRUE(CreateDirectoryW(L"E:\\Music\\Artist", nullptr) || GetLastError() == ERROR_ALREADY_EXISTS)
        << "drive E: is missing: run this program through with-player-drive";
    ASSERT_TRUE(write_file_bytes(L"E:\\Music\\Artist\\b.mp3", "ID3 b\n"));
    ASSERT_TRUE(CreateDirectoryW(L"E:\\Music\\Folder.mp3", nullptr));
    ASSERT_TRUE(CreateDirectoryW(L"E:\\Pictures", nullptr));
    ASSERT_TRUE(write_file_bytes(L"E:\\Pictures\\cover.jpg", "JFIF"));
    const std::string long_line = std::string(400, 'x') + ".mp3";
    const std::string rest = "/Music/Alpha.mp3\r\n/Music/gone.mp3\r\n/Music/Folder.mp3\r\n/Pictures/cover.jpg\r\n" +
                             long_line + "\r\n";
    const std::wstring other = L"E:\\Playlists\\Other tool.m3u";
    ASSERT_TRUE(write_file_bytes(other, "C:\\Users\\me\\Music\\iTunes\\Music\\Artist\\b.mp3\r\n" + rest));

    RunningProgram program(no_audio_environment(), tunelathe_path(), {other});
    ASSERT_NE(program.main_window, nullptr);
    HWND list = find_list(program.main_window);
    ASSERT_TRUE(wait_until([&] { return list_rows(list).size() == 6; }, 5000)) << "the given playlist brought no rows";

    // The rows as drawn: the fallback's row amber, the rows the player will
    // not play red, the row it plays in the list's own text colour.
    auto red = [](COLORREF c) { return GetRValue(c) > GetGValue(c) + 60 && GetRValue(c) > GetBValue(c) + 60; };
    auto amber = [](COLORREF c) {
        return GetRValue(c) > GetBValue(c) + 60 && GetGValue(c) > GetBValue(c) + 30 && GetRValue(c) > GetGValue(c);
    };
    std::vector<COLORREF> colours;
    EXPECT_TRUE(wait_until(
        [&] {
            colours = row_text_colours(list);
            return colours.size() == 6 && amber(colours[0]) && red(colours[2]) && red(colours[3]) &&
                   red(colours[4]) && red(colours[5]);
        },
        5000))
        << testing::PrintToString(colours);
    ASSERT_EQ(colours.size(), 6u);
    EXPECT_FALSE(red(colours[1]) || amber(colours[1])) << colours[1];

    click_toolbar_button(program.process, program.main_window, 2);
    Box box = wait_for_box(program.process, 10000);
    ASSERT_NE(box.dialog, nullptr) << "Save asked nothing about the rows";
    EXPECT_EQ(box.title, L"Check before saving");
    for (const wchar_t* expected :
         {L"5 rows will not play on the player as written:",
          L"Row 1: C:\\Users\\me\\Music\\iTunes\\Music\\Artist\\b.mp3\r\n    The player plays /Music/Artist/b.mp3 instead.",
          L"Row 3: /Music/gone.mp3\r\n    The player finds no file here.",
          L"Row 4: /Music/Folder.mp3\r\n    This is a folder: the player plays files only.",
          L"Row 5: /Pictures/cover.jpg\r\n    The player cannot play this type of file.",
          L"    The player stops the playlist here: the line is too long for it.",
          L"Yes: fix 1 row the player finds elsewhere"})
        EXPECT_NE(box.text.find(expected), std::wstring::npos) << "missing: " << testing::PrintToString(expected)
                                                               << "\nin: " << testing::PrintToString(box.text);
    EXPECT_TRUE(has_button(box.dialog, IDCANCEL));
    ASSERT_TRUE(answer_box(box.dialog, IDYES));

    // Fixed: the row names the path the player finds; the rest as written.
    ASSERT_TRUE(wait_until([&] { return file_bytes(other) == "/Music/Artist/b.mp3\r\n" + rest; }, 5000))
        << file_bytes(other);
    EXPECT_EQ(list_rows(list)[0], L"/Music/Artist/b.mp3");
    PostMessageW(program.main_window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(program.process.wait_for_exit(10000), 0);
}

TEST(PlaylistScenario, APlaylistWithAHugeLineOpensAsOneRow) {
    // Far longer than any path: the row is copied whole and the program keeps answering.
    std::string line;
    for (int i = 0; line.size() < 500000; ++i) line += static_cast<char>('a' + i % 26);
    const std::wstring huge_file = L"E:\\Playlists\\huge.m3u";
    ASSERT_TRUE(write_file_bytes(huge_file, line + "\r\n"))
        << "drive E: is missing: run this program through with-player-drive";
    RunningProgram program;
    ASSERT_NE(program.main_window, nullptr);
    HWND list = find_list(program.main_window);
    ASSERT_NE(list, nullptr);

    click_toolbar_button(program.process, program.main_window, 1);
    HWND open = wait_for_file_dialog(program.process, L"Open M3U file", 15000);
    ASSERT_NE(open, nullptr) << "Open showed no dialog: " << testing::PrintToString(describe_dialogs(program.process));
    ASSERT_TRUE(choose_file(open, huge_file));
    ASSERT_TRUE(wait_until([&] { return list_rows(list).size() == 1; }, 10000)) << "the opened file brought no row";
    EXPECT_EQ(list_rows(list)[0], std::wstring(line.begin(), line.end()));
    DWORD_PTR answer = 0;
    EXPECT_NE(SendMessageTimeoutW(program.main_window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer), 0)
        << "the program stopped answering";
    EXPECT_EQ(window_text(program.main_window), plain_title + L" : huge.m3u");

    PostMessageW(program.main_window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(program.process.wait_for_exit(10000), 0);
}

}  // namespace
