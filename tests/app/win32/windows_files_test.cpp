// What only Windows has: paths of network shares, saving over a file another
// program holds open without sharing, and the system's path limit.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/playlist.h"
#include "app/playlist_file.h"
#include "tests/app/app_support.h"

namespace {

using Rows = std::vector<std::u16string>;

class WindowsFiles : public AppTest {};

TEST_F(WindowsFiles, ANetworkPathDropsWithoutItsLeadingSlashes) {
    // The two characters removed are its leading slashes.
    ASSERT_TRUE(drop_files({u"\\\\server\\share\\a.mp3"}));
    EXPECT_EQ(rows(), (Rows{u"server/share/a.mp3"}));
    EXPECT_EQ(entries().back(), (Entry{u"server/share/a.mp3", u"\\\\server\\share\\a.mp3"}));
    EXPECT_EQ(app.is_saved, 0);
}

TEST_F(WindowsFiles, SaveOverALockedFileKeepsItIntact) {
    ASSERT_TRUE(drop_files({player_file(u"/a.mp3")}));
    Person first({choose_file(path(L"list.m3u"))});
    SavePlaylist();
    first.done();
    const std::string previous = "/a.mp3\r\n";
    ASSERT_EQ(read_file_bytes(path(L"list.m3u")), previous);

    // Another program holds the file open without sharing it.
    HANDLE holder = CreateFileW(path(L"list.m3u").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(drop_files({player_file(u"/b.mp3")}));
    Before before = before_save();
    Person person({press(ANSWER_OK)});
    SavePlaylist();
    std::vector<SeenDialog> seen = person.done();
    CloseHandle(holder);
    expect_failed_save(seen, path(L"list.m3u"), before);
    EXPECT_EQ(read_file_bytes(path(L"list.m3u")), previous);
    EXPECT_EQ(names_in(folder_), std::vector<std::wstring>{L"list.m3u"}) << "no temporary file left";

    // Once the other program lets go, the same Save works.
    Person again({});
    SavePlaylist();
    EXPECT_TRUE(again.done().empty());
    EXPECT_EQ(read_file_bytes(path(L"list.m3u")), std::string("/a.mp3\r\n/b.mp3\r\n"));
    EXPECT_EQ(app.is_saved, 1);
}

TEST_F(WindowsFiles, ATargetAtThePathLimitIsSaved) {
    // The longest path the system takes without its long-path prefix.
    std::wstring folder = folder_;
    while (folder.size() + 1 + 100 + 1 + 8 < MAX_PATH - 1) {
        folder += L"\\" + std::wstring(std::min<std::size_t>(100, MAX_PATH - 1 - folder.size() - 1 - 9 - 1), L'd');
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr)) << folder.size();
    }
    std::wstring target = folder + L"\\";
    target += std::wstring(MAX_PATH - 1 - target.size() - 4, L'n') + L".m3u";
    ASSERT_EQ(target.size(), static_cast<std::size_t>(MAX_PATH - 1));
    ASSERT_TRUE(drop_files({player_file(u"/a.mp3")}));
    app.playlist_path = u16(target).c_str();
    Person person({});
    SavePlaylist();
    EXPECT_TRUE(person.done().empty()) << "no failure box";
    EXPECT_EQ(app.is_saved, 1);
    EXPECT_EQ(read_file_bytes(target), std::string("/a.mp3\r\n"));
    EXPECT_EQ(names_in(folder).size(), 1u) << "no temporary file left";
}

}  // namespace
