// Where the program deliberately does better than a plain reading of its
// history: loaded rows get entries, Open asks before discarding, New forgets
// the file, failed saves keep the previous file, and Close keeps unsaved rows.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/playlist.h"
#include "app/playlist_file.h"
#include "app/startup.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/window.h"
#include "tests/app/app_support.h"
#include "tests/support/fault_injection.h"

namespace {

using Rows = std::vector<std::u16string>;

class ChangedBehaviour : public AppTest {
protected:
    void open(const std::wstring& file, std::vector<Answer> before = {}) {
        before.push_back(choose_file(file));
        Person person(std::move(before));
        OpenPlaylist();
        person.done();
    }
};

TEST_F(ChangedBehaviour, LoadedRowsHaveEntriesThatShuffleKeeps) {
    ASSERT_TRUE(write_file_bytes(path(L"in.m3u"), "/a.mp3\r\n/b.mp3\r\n/c.mp3\r\n/d.mp3\r\n"));
    open(path(L"in.m3u"));
    const Rows loaded{u"/a.mp3", u"/b.mp3", u"/c.mp3", u"/d.mp3"};
    ASSERT_EQ(rows(), loaded);
    // Each row's track is where the player would find it: on the playlist's drive.
    const std::u16string drive = u16(folder_.substr(0, 2));
    std::vector<Entry> expected;
    for (const std::u16string& row : loaded) expected.push_back({row, drive + u"\\" + row.substr(1)});
    EXPECT_EQ(entries(), expected) << "one entry per line";
    EXPECT_EQ(app.is_saved, 1) << "the list equals the file";

    ShuffleTracks();
    Rows shuffled = rows();
    EXPECT_TRUE(std::is_permutation(shuffled.begin(), shuffled.end(), loaded.begin(), loaded.end()));
    std::vector<Entry> stored = entries();
    ASSERT_EQ(stored.size(), shuffled.size());
    for (std::size_t i = 0; i < stored.size(); ++i) EXPECT_EQ(stored[i].player_path, shuffled[i]);
}

TEST_F(ChangedBehaviour, LoadedRowsPlayTheFilesThePlayerWould) {
    // A player's drive in miniature: its volume is the drive of the test folder.
    const std::wstring player = path(L"Player");
    for (const wchar_t* folder : {L"", L"\\Music", L"\\Playlists"}) CreateDirectoryW((player + folder).c_str(), nullptr);
    const std::wstring from_root = player.substr(2);  // after the drive letter and colon
    const std::string rooted(from_root.begin(), from_root.end());
    // Byte-order mark, lone CR line ends, trailing blanks, lines that name no
    // track, and ".." parts of which only the first climbs, as on the player.
    const std::string lines[] = {"#EXTM3U", "..\\Music\\high.wav  ", rooted + "\\Music\\low.wav", "x:/Music/a.mp3",
                                 "",        "../../../../../../../../../../../../x.wav"};
    std::string file = "\xEF\xBB\xBF";
    for (const std::string& line : lines) file += line + "\r";
    ASSERT_TRUE(write_file_bytes(player + L"\\Playlists\\list.m3u", file));

    open(player + L"\\Playlists\\list.m3u");
    std::vector<Entry> loaded = entries();
    ASSERT_EQ(loaded.size(), std::size(lines));
    const std::u16string music = u16(player) + u"\\Music\\";
    const std::u16string drive = u16(player.substr(0, 3));
    const std::u16string expected[] = {u"",  music + u"high.wav", music + u"low.wav", drive + u"Music\\a.mp3",
                                       u"", u16(player) + u"\\x.wav"};
    for (std::size_t i = 0; i < loaded.size(); ++i) {
        SCOPED_TRACE(lines[i]);
        EXPECT_EQ(loaded[i].player_path, std::u16string(lines[i].begin(), lines[i].end())) << "rows as written";
        EXPECT_EQ(loaded[i].local_path, expected[i]);
    }
}

TEST_F(ChangedBehaviour, LoadedRowsAreReadAsThePlayerReadsTheirFile) {
    const std::wstring player = path(L"Player");
    CreateDirectoryW(player.c_str(), nullptr);
    const std::u16string drive = u16(player.substr(0, 3));
    // 253 bytes of "/Music/" and "./" parts: 260 bytes of a line count as stored, and a line
    // read in the player's code page is converted while under 257 bytes.
    std::string long_start = "/Music/";
    for (int i = 0; i < 123; ++i) long_start += "./";
    struct FileCase {
        const wchar_t* name;
        std::string bytes;
        std::u16string local_path;
    };
    const FileCase cases[] = {
        // Read in the player's code page: trailing \v cut.
        {L"plain.m3u", "/Music/a.mp3\v\r\n", drive + u"Music\\a.mp3"},
        // Read as UTF-8: \v is part of the name.
        {L"marked.m3u", "\xEF\xBB\xBF/Music/a.mp3\v\r\n", drive + u"Music\\a.mp3\v"},
        {L"plain.m3u8", "/Music/a.mp3\v\r\n", drive + u"Music\\a.mp3\v"},
        // ISO-8859-1: \xE9 is one byte, two once converted.
        {L"legacy.m3u", long_start + "\xE9" "bcdefgh\r\n", drive + u"Music\\\u00E9bc"},
        // UTF-8 to the player: 260 bytes.
        {L"utf8.m3u8", long_start + "\xC3\xA9" "bcdefgh\r\n", drive + u"Music\\\u00E9bcdef"},
        // UTF-8 names in a .m3u stay UTF-8.
        {L"utf8.m3u", "/Music/\xC3\xA9.mp3\r\n", drive + u"Music\\\u00E9.mp3"},
    };
    for (const FileCase& c : cases) {
        SCOPED_TRACE(std::string(c.name, c.name + wcslen(c.name)));
        ASSERT_TRUE(write_file_bytes(player + L"\\" + c.name, c.bytes));
        open(player + L"\\" + c.name);
        std::vector<Entry> loaded = entries();
        ASSERT_EQ(loaded.size(), 1u);
        EXPECT_EQ(loaded[0].local_path, c.local_path);
    }
}

TEST_F(ChangedBehaviour, OpenAsksBeforeDiscardingUnsavedRows) {
    ASSERT_TRUE(write_file_bytes(path(L"other.m3u"), "/other.mp3\r\n"));
    ASSERT_TRUE(drop_files({u"C:\\mine.mp3"}));

    Person cancelling({press(IDCANCEL)});
    OpenPlaylist();
    std::vector<SeenDialog> seen = cancelling.done();
    ASSERT_EQ(seen.size(), 1u) << "no Open dialog after Cancel";
    EXPECT_EQ(seen[0].title, L"Unsaved Data!");
    EXPECT_EQ(seen[0].text,
              L"Your work has not been saved yet!\r\nDo you want to save before opening another playlist?");
    EXPECT_EQ(rows(), Rows{u"/mine.mp3"});
    EXPECT_EQ(app.is_saved, 0);

    // Yes saves first, then opens.
    // The dropped file is not there: the person saves the row as it is.
    Person saving({press(IDYES), choose_file(path(L"mine.m3u")), press(IDYES), choose_file(path(L"other.m3u"))});
    OpenPlaylist();
    EXPECT_EQ(saving.done().size(), 4u);
    EXPECT_EQ(read_file_bytes(path(L"mine.m3u")), std::string("/mine.mp3\r\n"));
    EXPECT_EQ(rows(), Rows{u"/other.mp3"});
    EXPECT_EQ(app.is_saved, 1);
    EXPECT_EQ(main_title(), title_for(L"other.m3u"));

    // No discards and opens.
    ASSERT_TRUE(drop_files({u"C:\\dropped.mp3"}));
    open(path(L"mine.m3u"), {press(IDNO)});
    EXPECT_EQ(rows(), Rows{u"/mine.mp3"});
    EXPECT_EQ(app.is_saved, 1);
    EXPECT_EQ(read_file_bytes(path(L"other.m3u")), std::string("/other.mp3\r\n"));
}

TEST_F(ChangedBehaviour, OpenAfterDeletingEveryRowDoesNotAsk) {
    ASSERT_TRUE(write_file_bytes(path(L"other.m3u"), "/other.mp3\r\n"));
    ASSERT_TRUE(drop_files({u"C:\\gone.mp3"}));
    gadget_state_set(PLAYLIST_GADGET, 0);
    DeleteTrack();
    ASSERT_EQ(app.is_saved, 0);
    Person person({choose_file(path(L"other.m3u"))});
    OpenPlaylist();
    std::vector<SeenDialog> seen = person.done();
    ASSERT_EQ(seen.size(), 1u) << "an empty list has nothing to lose";
    EXPECT_EQ(seen[0].title, L"Open M3U file");
    EXPECT_EQ(rows(), Rows{u"/other.mp3"});
    EXPECT_EQ(app.is_saved, 1);
}

TEST_F(ChangedBehaviour, AFailedOpenChangesNothingAndSaysWhy) {
    ASSERT_TRUE(drop_files({u"C:\\a.mp3"}));
    Person first({choose_file(path(L"list.m3u")), press(IDYES)});
    SavePlaylist();
    first.done();
    ASSERT_TRUE(drop_files({u"C:\\b.mp3"}));
    const std::wstring title = main_title();
    const std::vector<Entry> kept = entries();

    // Another program holds the chosen file open without sharing it.
    ASSERT_TRUE(write_file_bytes(path(L"held.m3u"), "/held.mp3\r\n"));
    HANDLE holder = CreateFileW(path(L"held.m3u").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    Person person({press(IDNO), choose_file(path(L"held.m3u")), press(IDOK)});
    OpenPlaylist();
    std::vector<SeenDialog> seen = person.done();
    CloseHandle(holder);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[2].title, L"Not opened!");
    const std::size_t named = seen[2].text.find(path(L"held.m3u") + L"\r\n\r\n");
    ASSERT_NE(named, std::wstring::npos) << "the message names the file";
    EXPECT_GT(seen[2].text.size(), named + path(L"held.m3u").size() + 4) << "and gives the reason";
    EXPECT_EQ(rows(), (Rows{u"/a.mp3", u"/b.mp3"}));
    EXPECT_EQ(entries(), kept);
    EXPECT_EQ(main_title(), title);
    EXPECT_EQ(app.is_saved, 0);
    EXPECT_EQ(wide(app.playlist_path.c_str()), path(L"list.m3u"));

    // The next Save still goes to the playlist on screen, not the one tried.
    Person again({press(IDYES)});
    SavePlaylist();
    EXPECT_EQ(again.done().size(), 1u) << "only the question about rows the player will not play";
    EXPECT_EQ(read_file_bytes(path(L"list.m3u")), std::string("/a.mp3\r\n/b.mp3\r\n"));
    EXPECT_EQ(read_file_bytes(path(L"held.m3u")), std::string("/held.mp3\r\n"));
}

TEST_F(ChangedBehaviour, APlaylistThatCannotBeReadToItsEndDoesNotOpen) {
    ASSERT_TRUE(drop_files({u"C:\\a.mp3"}));
    Person first({choose_file(path(L"list.m3u")), press(IDYES)});
    SavePlaylist();
    first.done();
    const std::wstring title = main_title();
    const std::vector<Entry> kept = entries();

    // A card that fails after the first 8 KiB of a long playlist.
    std::string long_list;
    for (int i = 0; i < 1000; ++i) long_list += "/Music/track " + std::to_string(1000 + i) + ".mp3\r\n";
    ASSERT_TRUE(write_file_bytes(path(L"failing.m3u"), long_list));
    std::vector<SeenDialog> seen;
    {
        FailingReads failing(path(L"failing.m3u"), 8192);
        Person person({choose_file(path(L"failing.m3u")), press(IDOK)});
        OpenPlaylist();
        seen = person.done();
    }
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].title, L"Not opened!");
    EXPECT_NE(seen[1].text.find(path(L"failing.m3u") + L"\r\n\r\n"), std::wstring::npos) << "the message names the file";
    // Not a row of it: the next Save must not write a shortened list over it.
    EXPECT_EQ(rows(), Rows{u"/a.mp3"});
    EXPECT_EQ(entries(), kept);
    EXPECT_EQ(main_title(), title);
    EXPECT_EQ(app.is_saved, 1);
    EXPECT_EQ(wide(app.playlist_path.c_str()), path(L"list.m3u"));
    EXPECT_EQ(read_file_bytes(path(L"failing.m3u")), long_list);
}

TEST_F(ChangedBehaviour, AReadOnlyPlaylistOpens) {
    ASSERT_TRUE(write_file_bytes(path(L"card.m3u"), "/Music/a.mp3\r\n"));
    ASSERT_TRUE(SetFileAttributesW(path(L"card.m3u").c_str(), FILE_ATTRIBUTE_READONLY));
    open(path(L"card.m3u"));
    SetFileAttributesW(path(L"card.m3u").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(rows(), Rows{u"/Music/a.mp3"});
    EXPECT_EQ(app.is_saved, 1);
    EXPECT_EQ(main_title(), title_for(L"card.m3u"));
}

// What a failed save must leave: the previous file as it was, the message
// naming the file, and the program's state as before.
struct Before {
    std::wstring title;
    int is_saved;
    std::u16string path;
};
Before before_save() { return {main_title(), app.is_saved, app.playlist_path.c_str()}; }

// The rows name files that are not there: first the question about them,
// answered to save as they are.
void expect_failed_save(const std::vector<SeenDialog>& seen, const std::wstring& target, const Before& before) {
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].title, L"Check before saving");
    EXPECT_EQ(seen[1].title, L"Not saved!");
    EXPECT_NE(seen[1].text.find(target), std::wstring::npos) << "the message names the file";
    EXPECT_EQ(main_title(), before.title);
    EXPECT_EQ(app.is_saved, before.is_saved);
    EXPECT_EQ(std::u16string(app.playlist_path.c_str()), before.path);
}

TEST_F(ChangedBehaviour, SaveIntoAVanishedFolderFailsVisibly) {
    CreateDirectoryW(path(L"sub").c_str(), nullptr);
    ASSERT_TRUE(drop_files({u"C:\\a.mp3"}));
    Person first({choose_file(path(L"sub\\list.m3u")), press(IDYES)});
    SavePlaylist();
    first.done();
    ASSERT_TRUE(exists(path(L"sub\\list.m3u")));
    remove_tree(path(L"sub"));

    ASSERT_TRUE(drop_files({u"C:\\b.mp3"}));
    Before before = before_save();
    Person person({press(IDYES), press(IDOK)});
    SavePlaylist();
    expect_failed_save(person.done(), path(L"sub\\list.m3u"), before);
    EXPECT_FALSE(exists(path(L"sub")));
}

TEST_F(ChangedBehaviour, SaveOverALockedFileKeepsItIntact) {
    ASSERT_TRUE(drop_files({u"C:\\a.mp3"}));
    Person first({choose_file(path(L"list.m3u")), press(IDYES)});
    SavePlaylist();
    first.done();
    const std::string previous = "/a.mp3\r\n";
    ASSERT_EQ(read_file_bytes(path(L"list.m3u")), previous);

    // Another program holds the file open without sharing it.
    HANDLE holder = CreateFileW(path(L"list.m3u").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(drop_files({u"C:\\b.mp3"}));
    Before before = before_save();
    Person person({press(IDYES), press(IDOK)});
    SavePlaylist();
    std::vector<SeenDialog> seen = person.done();
    CloseHandle(holder);
    expect_failed_save(seen, path(L"list.m3u"), before);
    EXPECT_EQ(read_file_bytes(path(L"list.m3u")), previous);
    EXPECT_EQ(names_in(folder_), std::vector<std::wstring>{L"list.m3u"}) << "no temporary file left";

    // Once the other program lets go, the same Save works.
    Person again({press(IDYES)});
    SavePlaylist();
    EXPECT_EQ(again.done().size(), 1u);
    EXPECT_EQ(read_file_bytes(path(L"list.m3u")), std::string("/a.mp3\r\n/b.mp3\r\n"));
    EXPECT_EQ(app.is_saved, 1);
}

TEST_F(ChangedBehaviour, SaveAsIntoAFailingPlaceKeepsTheCurrentFile) {
    ASSERT_TRUE(drop_files({u"C:\\a.mp3"}));
    Person first({choose_file(path(L"list.m3u")), press(IDYES)});
    SavePlaylist();
    first.done();
    ASSERT_TRUE(drop_files({u"C:\\b.mp3"}));

    HANDLE holder =
        CreateFileW(path(L"held.m3u").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    Before before = before_save();
    Person person({choose_file(path(L"held.m3u")), press(IDYES), press(IDOK)});
    SavePlaylistAs();
    std::vector<SeenDialog> seen = person.done();
    CloseHandle(holder);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[2].title, L"Not saved!");
    EXPECT_NE(seen[2].text.find(path(L"held.m3u")), std::wstring::npos);
    EXPECT_EQ(main_title(), before.title) << "the title still names list.m3u";
    EXPECT_EQ(wide(app.playlist_path.c_str()), path(L"list.m3u")) << "the next Save goes to the file on disk";
    EXPECT_EQ(app.is_saved, 0);
}

TEST_F(ChangedBehaviour, SaveTouchesNoOtherFileAndKeepsTheTargetsAttributes) {
    // Files whose names a careless save might take for its own.
    ASSERT_TRUE(write_file_bytes(path(L"list.m3u.saving"), "keep"));
    ASSERT_TRUE(write_file_bytes(path(L"~list.m3u"), "keep"));
    ASSERT_TRUE(write_file_bytes(path(L"list.m3u"), "/old.mp3\r\n"));
    ASSERT_TRUE(SetFileAttributesW(path(L"list.m3u").c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(drop_files({u"C:\\a.mp3"}));
    app.playlist_path = u16(path(L"list.m3u")).c_str();
    Person person({press(IDYES)});
    SavePlaylist();
    EXPECT_EQ(person.done().size(), 1u) << "only the question about rows the player will not play";
    EXPECT_EQ(app.is_saved, 1);
    EXPECT_EQ(read_file_bytes(path(L"list.m3u")), std::string("/a.mp3\r\n"));
    EXPECT_NE(GetFileAttributesW(path(L"list.m3u").c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u)
        << "the playlist keeps its attributes";
    SetFileAttributesW(path(L"list.m3u").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(read_file_bytes(path(L"list.m3u.saving")), std::string("keep"));
    EXPECT_EQ(read_file_bytes(path(L"~list.m3u")), std::string("keep"));
    EXPECT_EQ(names_in(folder_), (std::vector<std::wstring>{L"list.m3u", L"list.m3u.saving", L"~list.m3u"}))
        << "no temporary file left";
}

TEST_F(ChangedBehaviour, ATargetAtThePathLimitIsSaved) {
    // The longest path the system takes without its long-path prefix.
    std::wstring folder = folder_;
    while (folder.size() + 1 + 100 + 1 + 8 < MAX_PATH - 1) {
        folder += L"\\" + std::wstring(std::min<std::size_t>(100, MAX_PATH - 1 - folder.size() - 1 - 9 - 1), L'd');
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr)) << folder.size();
    }
    std::wstring target = folder + L"\\";
    target += std::wstring(MAX_PATH - 1 - target.size() - 4, L'n') + L".m3u";
    ASSERT_EQ(target.size(), static_cast<std::size_t>(MAX_PATH - 1));
    ASSERT_TRUE(drop_files({u"C:\\a.mp3"}));
    app.playlist_path = u16(target).c_str();
    Person person({press(IDYES)});
    SavePlaylist();
    std::vector<SeenDialog> seen = person.done();
    ASSERT_EQ(seen.size(), 1u) << "no failure box";
    EXPECT_EQ(seen[0].title, L"Check before saving");
    EXPECT_EQ(app.is_saved, 1);
    EXPECT_EQ(read_file_bytes(target), std::string("/a.mp3\r\n"));
    EXPECT_EQ(names_in(folder).size(), 1u) << "no temporary file left";
}

// The close prompt, through the real close request of the main window.
TEST_F(ChangedBehaviour, CloseKeepsRunningWhenTheSaveDidNotHappen) {
    ASSERT_TRUE(drop_files({u"C:\\a.mp3"}));
    ASSERT_TRUE(close_request());
    Person person({press(IDYES), cancel_dialog()});
    EXPECT_FALSE(CloseAccepted());
    std::vector<SeenDialog> seen = person.done();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].title, L"Unsaved Data!");
    EXPECT_EQ(seen[0].text,
              L"Your work has not been saved yet!\r\nDo you want to save before closing the application?");
    EXPECT_EQ(seen[1].title, L"Save file");
    EXPECT_EQ(rows(), Rows{u"/a.mp3"});
    EXPECT_NE(window_handle(MAIN_WINDOW), 0);

    // A save that fails keeps it running too.
    app.playlist_path = u16(path(L"missing\\list.m3u")).c_str();
    ASSERT_TRUE(close_request());
    Person failing({press(IDYES), press(IDYES), press(IDOK)});
    EXPECT_FALSE(CloseAccepted());
    seen = failing.done();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[2].title, L"Not saved!");

    // A save that happened, or No, ends the program.
    app.playlist_path = nullptr;
    ASSERT_TRUE(close_request());
    Person saving({press(IDYES), choose_file(path(L"closing.m3u")), press(IDYES)});
    EXPECT_TRUE(CloseAccepted());
    EXPECT_EQ(saving.done().size(), 3u);
    EXPECT_EQ(read_file_bytes(path(L"closing.m3u")), std::string("/a.mp3\r\n"));

    app.is_saved = 0;
    ASSERT_TRUE(close_request());
    Person leaving({press(IDNO)});
    EXPECT_TRUE(CloseAccepted());
    EXPECT_EQ(leaving.done().size(), 1u);
}

// Saving into a file system that is full: run by with_small_disk.sh, which
// mounts a tiny one and names it in TUNELATHE_SMALL_DISK.
class FullDisk : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        const char* disk = std::getenv("TUNELATHE_SMALL_DISK");
        if (!disk || !*disk) GTEST_SKIP() << "no small file system mounted (see with_small_disk.sh)";
        disk_ = std::wstring(disk, disk + std::char_traits<char>::length(disk));
    }
    void TearDown() override {
        if (!disk_.empty())
            for (const std::wstring& name : names_in(disk_)) remove_tree(disk_ + L"\\" + name);
        AppTest::TearDown();
    }
    // Fills the file system up to the last few bytes.
    bool fill() {
        HANDLE file =
            CreateFileW((disk_ + L"\\filler").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        std::string block(1024, 'x');
        DWORD written = 0;
        while (WriteFile(file, block.data(), static_cast<DWORD>(block.size()), &written, nullptr) && written > 0) {
        }
        CloseHandle(file);
        return true;
    }
    std::wstring disk_;
};

TEST_F(FullDisk, SaveIntoAFullFileSystemKeepsThePreviousFile) {
    ASSERT_TRUE(drop_files({u"C:\\a.mp3"}));
    const std::wstring target = disk_ + L"\\list.m3u";
    Person first({choose_file(target), press(IDYES)});
    SavePlaylist();
    first.done();
    const std::string previous = "/a.mp3\r\n";
    ASSERT_EQ(read_file_bytes(target), previous);
    ASSERT_TRUE(fill());

    std::vector<std::u16string> many;
    for (int i = 0; i < 400; ++i) many.push_back(u"C:\\Music\\A rather long folder name\\track " + u16(std::to_wstring(i)) + u".mp3");
    ASSERT_TRUE(drop_files(many));
    Before before = before_save();
    Person person({press(IDYES), press(IDOK)});
    SavePlaylist();
    expect_failed_save(person.done(), target, before);
    EXPECT_EQ(read_file_bytes(target), previous);
    EXPECT_EQ(names_in(disk_), (std::vector<std::wstring>{L"filler", L"list.m3u"})) << "no temporary file left";
}

}  // namespace
