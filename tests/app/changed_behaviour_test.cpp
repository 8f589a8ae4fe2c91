// Where the program deliberately does better than a plain reading of its
// history: loaded rows get entries, Open asks before discarding, New forgets
// the file, failed saves keep the previous file, and Close keeps unsaved rows.
#include <gtest/gtest.h>

#include <algorithm>
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
    // Each row's track is where the player would find it: on the playlist's
    // volume.
    std::vector<Entry> expected;
    for (const std::u16string& row : loaded) expected.push_back({row, on_volume_of(folder_, row)});
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
    // A player's drive in miniature: its volume is the volume of the test folder.
    const std::wstring player = path(L"Player");
    for (const wchar_t* folder : {L"Player", L"Player/Music", L"Player/Playlists"}) make_folder(path(folder));
    const std::string rooted = utf8(from_volume_root(player));
    // Byte-order mark, lone CR line ends, trailing blanks, lines that name no
    // track, and ".." parts of which only the first climbs, as on the player.
    const std::string lines[] = {"#EXTM3U",
                                 "..\\Music\\high.wav  ",
                                 rooted + "\\Music\\low.wav",
                                 "x:/Music/a.mp3",
                                 "",
                                 "../../../../../../../../../../../../x.wav"};
    std::string file = "\xEF\xBB\xBF";
    for (const std::string& line : lines) file += line + "\r";
    ASSERT_TRUE(write_file_bytes(path(L"Player/Playlists/list.m3u"), file));

    open(path(L"Player/Playlists/list.m3u"));
    std::vector<Entry> loaded = entries();
    ASSERT_EQ(loaded.size(), std::size(lines));
    const std::u16string expected[] = {u"",
                                       u16(path(L"Player/Music/high.wav")),
                                       u16(path(L"Player/Music/low.wav")),
                                       on_volume_of(player, u"/Music/a.mp3"),
                                       u"",
                                       u16(path(L"Player/x.wav"))};
    for (std::size_t i = 0; i < loaded.size(); ++i) {
        SCOPED_TRACE(lines[i]);
        EXPECT_EQ(loaded[i].player_path, std::u16string(lines[i].begin(), lines[i].end())) << "rows as written";
        EXPECT_EQ(loaded[i].local_path, expected[i]);
    }
}

TEST_F(ChangedBehaviour, LoadedRowsAreReadAsThePlayerReadsTheirFile) {
    const std::wstring player = path(L"Player");
    make_folder(player);
    // 253 bytes of "/Music/" and "./" parts: 260 bytes of a line count as stored,
    // and a line read in the player's code page is converted while under 257
    // bytes.
    std::string long_start = "/Music/";
    for (int i = 0; i < 123; ++i) long_start += "./";
    struct FileCase {
        const wchar_t* name;
        std::string bytes;
        std::u16string local_path;
    };
    const FileCase cases[] = {
        // Read in the player's code page: trailing \v cut.
        {L"plain.m3u", "/Music/a.mp3\v\r\n", on_volume_of(player, u"/Music/a.mp3")},
        // Read as UTF-8: \v is part of the name.
        {L"marked.m3u", "\xEF\xBB\xBF/Music/a.mp3\v\r\n", on_volume_of(player, u"/Music/a.mp3\v")},
        {L"plain.m3u8", "/Music/a.mp3\v\r\n", on_volume_of(player, u"/Music/a.mp3\v")},
        // ISO-8859-1: \xE9 is one byte, two once converted.
        {L"legacy.m3u",
         long_start + "\xE9"
                      "bcdefgh\r\n",
         on_volume_of(player, u"/Music/\u00E9bc")},
        // UTF-8 to the player: 260 bytes.
        {L"utf8.m3u8",
         long_start + "\xC3\xA9"
                      "bcdefgh\r\n",
         on_volume_of(player, u"/Music/\u00E9bcdef")},
        // UTF-8 names in a .m3u stay UTF-8.
        {L"utf8.m3u", "/Music/\xC3\xA9.mp3\r\n", on_volume_of(player, u"/Music/\u00E9.mp3")},
    };
    for (const FileCase& c : cases) {
        SCOPED_TRACE(utf8(u16(c.name)));
        ASSERT_TRUE(write_file_bytes(player + SEPARATOR + c.name, c.bytes));
        open(player + SEPARATOR + c.name);
        std::vector<Entry> loaded = entries();
        ASSERT_EQ(loaded.size(), 1u);
        EXPECT_EQ(loaded[0].local_path, c.local_path);
    }
}

TEST_F(ChangedBehaviour, OpenAsksBeforeDiscardingUnsavedRows) {
    ASSERT_TRUE(write_file_bytes(path(L"other.m3u"), "/other.mp3\r\n"));
    ASSERT_TRUE(drop_files({player_file(u"/mine.mp3")}));

    Person cancelling({press(ANSWER_CANCEL)});
    OpenPlaylist();
    std::vector<SeenDialog> seen = cancelling.done();
    ASSERT_EQ(seen.size(), 1u) << "no Open dialog after Cancel";
    EXPECT_EQ(seen[0].title, L"Unsaved Data!");
    EXPECT_EQ(seen[0].text, as_shown(L"Your work has not been saved yet!\r\nDo you want to "
                                     L"save before opening another playlist?"));
    EXPECT_EQ(rows(), Rows{u"/mine.mp3"});
    EXPECT_EQ(app.is_saved, 0);

    // Yes saves first, then opens.
    Person saving({press(ANSWER_YES), choose_file(path(L"mine.m3u")), choose_file(path(L"other.m3u"))});
    OpenPlaylist();
    EXPECT_EQ(saving.done().size(), 3u);
    EXPECT_EQ(read_file_bytes(path(L"mine.m3u")), std::string("/mine.mp3\r\n"));
    EXPECT_EQ(rows(), Rows{u"/other.mp3"});
    EXPECT_EQ(app.is_saved, 1);
    EXPECT_EQ(main_title(), title_for(L"other.m3u"));

    // No discards and opens.
    ASSERT_TRUE(drop_files({player_file(u"/dropped.mp3")}));
    open(path(L"mine.m3u"), {press(ANSWER_NO)});
    EXPECT_EQ(rows(), Rows{u"/mine.mp3"});
    EXPECT_EQ(app.is_saved, 1);
    EXPECT_EQ(read_file_bytes(path(L"other.m3u")), std::string("/other.mp3\r\n"));
}

TEST_F(ChangedBehaviour, OpenAfterDeletingEveryRowDoesNotAsk) {
    ASSERT_TRUE(write_file_bytes(path(L"other.m3u"), "/other.mp3\r\n"));
    ASSERT_TRUE(drop_files({player_file(u"/gone.mp3")}));
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
    ASSERT_TRUE(drop_files({player_file(u"/a.mp3")}));
    Person first({choose_file(path(L"list.m3u"))});
    SavePlaylist();
    first.done();
    ASSERT_TRUE(drop_files({player_file(u"/b.mp3")}));
    const std::wstring title = main_title();
    const std::vector<Entry> kept = entries();

    ASSERT_TRUE(write_file_bytes(path(L"held.m3u"), "/held.mp3\r\n"));
    std::vector<SeenDialog> seen;
    {
        UnopenableFile held(path(L"held.m3u"));
        ASSERT_TRUE(held.holds());
        Person person({press(ANSWER_NO), choose_file(path(L"held.m3u")), press(ANSWER_OK)});
        OpenPlaylist();
        seen = person.done();
    }
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[2].title, L"Not opened!");
    const std::size_t named = seen[2].text.find(path(L"held.m3u") + as_shown(L"\r\n\r\n"));
    ASSERT_NE(named, std::wstring::npos) << "the message names the file";
    EXPECT_GT(seen[2].text.size(), named + path(L"held.m3u").size() + 4) << "and gives the reason";
    EXPECT_EQ(rows(), (Rows{u"/a.mp3", u"/b.mp3"}));
    EXPECT_EQ(entries(), kept);
    EXPECT_EQ(main_title(), title);
    EXPECT_EQ(app.is_saved, 0);
    EXPECT_EQ(wide(app.playlist_path.c_str()), path(L"list.m3u"));

    // The next Save still goes to the playlist on screen, not the one tried.
    Person again({});
    SavePlaylist();
    EXPECT_TRUE(again.done().empty());
    EXPECT_EQ(read_file_bytes(path(L"list.m3u")), std::string("/a.mp3\r\n/b.mp3\r\n"));
    EXPECT_EQ(read_file_bytes(path(L"held.m3u")), std::string("/held.mp3\r\n"));
}

TEST_F(ChangedBehaviour, APlaylistThatCannotBeReadToItsEndDoesNotOpen) {
    ASSERT_TRUE(drop_files({player_file(u"/a.mp3")}));
    Person first({choose_file(path(L"list.m3u"))});
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
        Person person({choose_file(path(L"failing.m3u")), press(ANSWER_OK)});
        OpenPlaylist();
        seen = person.done();
    }
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].title, L"Not opened!");
    EXPECT_NE(seen[1].text.find(path(L"failing.m3u") + as_shown(L"\r\n\r\n")), std::wstring::npos)
        << "the message names the file";
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
    ASSERT_TRUE(set_file_marks(path(L"card.m3u"), READ_ONLY_MARKS));
    open(path(L"card.m3u"));
    set_file_marks(path(L"card.m3u"), PLAIN_MARKS);
    EXPECT_EQ(rows(), Rows{u"/Music/a.mp3"});
    EXPECT_EQ(app.is_saved, 1);
    EXPECT_EQ(main_title(), title_for(L"card.m3u"));
}

TEST_F(ChangedBehaviour, SaveIntoAVanishedFolderFailsVisibly) {
    ASSERT_TRUE(make_folder(path(L"sub")));
    ASSERT_TRUE(drop_files({player_file(u"/a.mp3")}));
    Person first({choose_file(path(L"sub/list.m3u"))});
    SavePlaylist();
    first.done();
    ASSERT_TRUE(exists(path(L"sub/list.m3u")));
    remove_tree(path(L"sub"));

    ASSERT_TRUE(drop_files({player_file(u"/b.mp3")}));
    Before before = before_save();
    Person person({press(ANSWER_OK)});
    SavePlaylist();
    expect_failed_save(person.done(), path(L"sub/list.m3u"), before);
    EXPECT_FALSE(exists(path(L"sub")));
}

TEST_F(ChangedBehaviour, SaveAsIntoAFailingPlaceKeepsTheCurrentFile) {
    ASSERT_TRUE(drop_files({player_file(u"/a.mp3")}));
    Person first({choose_file(path(L"list.m3u"))});
    SavePlaylist();
    first.done();
    ASSERT_TRUE(drop_files({player_file(u"/b.mp3")}));

    ASSERT_TRUE(write_file_bytes(path(L"held.m3u"), ""));
    Before before = before_save();
    std::vector<SeenDialog> seen;
    {
        UnopenableFile held(path(L"held.m3u"));
        ASSERT_TRUE(held.holds());
        Person person({choose_file(path(L"held.m3u")), press(ANSWER_OK)});
        SavePlaylistAs();
        seen = person.done();
    }
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].title, L"Not saved!");
    EXPECT_NE(seen[1].text.find(path(L"held.m3u")), std::wstring::npos);
    EXPECT_EQ(main_title(), before.title) << "the title still names list.m3u";
    EXPECT_EQ(wide(app.playlist_path.c_str()), path(L"list.m3u")) << "the next Save goes to the file on disk";
    EXPECT_EQ(app.is_saved, 0);
}

TEST_F(ChangedBehaviour, SaveTouchesNoOtherFileAndKeepsTheTargetsAttributes) {
    // Files whose names a careless save might take for its own.
    ASSERT_TRUE(write_file_bytes(path(L"list.m3u.saving"), "keep"));
    ASSERT_TRUE(write_file_bytes(path(L"~list.m3u"), "keep"));
    ASSERT_TRUE(write_file_bytes(path(L"list.m3u"), "/old.mp3\r\n"));
    ASSERT_TRUE(set_file_marks(path(L"list.m3u"), UNUSUAL_MARKS));
    ASSERT_TRUE(drop_files({player_file(u"/a.mp3")}));
    app.playlist_path = u16(path(L"list.m3u")).c_str();
    Person person({});
    SavePlaylist();
    EXPECT_TRUE(person.done().empty());
    EXPECT_EQ(app.is_saved, 1);
    EXPECT_EQ(read_file_bytes(path(L"list.m3u")), std::string("/a.mp3\r\n"));
    EXPECT_TRUE(has_file_marks(path(L"list.m3u"), UNUSUAL_MARKS)) << "the playlist keeps its attributes";
    set_file_marks(path(L"list.m3u"), PLAIN_MARKS);
    EXPECT_EQ(read_file_bytes(path(L"list.m3u.saving")), std::string("keep"));
    EXPECT_EQ(read_file_bytes(path(L"~list.m3u")), std::string("keep"));
    EXPECT_EQ(names_in(folder_), (std::vector<std::wstring>{L"list.m3u", L"list.m3u.saving", L"~list.m3u"}))
        << "no temporary file left";
}

// The close prompt, through the real close request of the main window.
TEST_F(ChangedBehaviour, CloseKeepsRunningWhenTheSaveDidNotHappen) {
    ASSERT_TRUE(drop_files({player_file(u"/a.mp3")}));
    ASSERT_TRUE(close_request());
    Person person({press(ANSWER_YES), cancel_dialog()});
    EXPECT_FALSE(CloseAccepted());
    std::vector<SeenDialog> seen = person.done();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].title, L"Unsaved Data!");
    EXPECT_EQ(seen[0].text, as_shown(L"Your work has not been saved yet!\r\nDo you want to "
                                     L"save before closing the application?"));
    EXPECT_EQ(seen[1].title, L"Save file");
    EXPECT_EQ(rows(), Rows{u"/a.mp3"});
    EXPECT_NE(window_handle(MAIN_WINDOW), 0);

    // A save that fails keeps it running too.
    app.playlist_path = u16(path(L"missing/list.m3u")).c_str();
    ASSERT_TRUE(close_request());
    Person failing({press(ANSWER_YES), press(ANSWER_OK)});
    EXPECT_FALSE(CloseAccepted());
    seen = failing.done();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].title, L"Not saved!");

    // A save that happened, or No, ends the program.
    app.playlist_path = nullptr;
    ASSERT_TRUE(close_request());
    Person saving({press(ANSWER_YES), choose_file(path(L"closing.m3u"))});
    EXPECT_TRUE(CloseAccepted());
    EXPECT_EQ(saving.done().size(), 2u);
    EXPECT_EQ(read_file_bytes(path(L"closing.m3u")), std::string("/a.mp3\r\n"));

    app.is_saved = 0;
    ASSERT_TRUE(close_request());
    Person leaving({press(ANSWER_NO)});
    EXPECT_TRUE(CloseAccepted());
    EXPECT_EQ(leaving.done().size(), 1u);
}

// Saving into a file system that is full: run by with_small_disk.sh, which
// mounts a tiny one and names it in TUNELATHE_SMALL_DISK.
class FullDisk : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        disk_ = folder_named_in("TUNELATHE_SMALL_DISK");
        if (disk_.empty()) GTEST_SKIP() << "no small file system mounted (see with_small_disk.sh)";
    }
    void TearDown() override {
        if (!disk_.empty())
            for (const std::wstring& name : names_in(disk_)) remove_tree(disk_ + SEPARATOR + name);
        AppTest::TearDown();
    }
    // Fills the file system up to the last few bytes.
    bool fill() { return fill_with_file(disk_ + SEPARATOR + L"filler"); }
    std::wstring disk_;
};

TEST_F(FullDisk, SaveIntoAFullFileSystemKeepsThePreviousFile) {
    ASSERT_TRUE(drop_files({player_file(u"/a.mp3")}));
    const std::wstring target = disk_ + SEPARATOR + L"list.m3u";
    // The songs are on the player, the playlist goes to another volume: the
    // player check asks first, and the person saves as it is.
    Person first({choose_file(target), press(ANSWER_YES)});
    SavePlaylist();
    first.done();
    const std::string previous = "/a.mp3\r\n";
    ASSERT_EQ(read_file_bytes(target), previous);
    ASSERT_TRUE(fill());

    std::vector<std::u16string> many;
    for (int i = 0; i < 400; ++i)
        many.push_back(player_file(u"/Music/A rather long folder name/track " + u16(std::to_wstring(i)) + u".mp3"));
    ASSERT_TRUE(drop_files(many));
    Before before = before_save();
    Person person({press(ANSWER_YES), press(ANSWER_OK)});
    SavePlaylist();
    const std::vector<SeenDialog> seen = person.done();
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen[0].title, L"Check before saving");
    expect_failed_save({seen.begin() + 1, seen.end()}, target, before);
    EXPECT_EQ(read_file_bytes(target), previous);
    EXPECT_EQ(names_in(disk_), (std::vector<std::wstring>{L"filler", L"list.m3u"})) << "no temporary file left";
}

}  // namespace
