// The player check in the program: rows checked as they are opened and
// edited, a slice at a time, and the question at Save when rows will not play
// on the player as written, answered as a person would, with the saved bytes
// read back from disk.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/built_text.h"
#include "app/playlist.h"
#include "app/playlist_file.h"
#include "app/row_checks.h"
#include "runtime/file/file.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/requester.h"
#include "tests/app/app_support.h"

namespace {

namespace fs = std::filesystem;
using Rows = std::vector<std::u16string>;

class PlayerCheckInProgram : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        for (const wchar_t* song : {L"Music/a.mp3", L"Music/Artist/b.mp3"}) put(song);
        fs::create_directories(fs::path(path(L"Music/Folder.mp3")));
        put(L"Pictures/cover.jpg");
    }

    void put(const std::wstring& name) const {
        fs::path file = fs::path(path(name)).make_preferred();
        fs::create_directories(file.parent_path());
        ASSERT_TRUE(write_file_bytes(file.wstring(), "song"));
    }

    // The playlist's folder as the player names it from its volume's root.
    std::u16string folder_on_player() const {
        Text from_root = Built([this] { file_volume_path(u16(folder_).c_str(), -1); });
        return from_root.c_str();
    }

    // Writes list.m3u with the lines and opens it as the program does.
    void open(const std::string& bytes) {
        ASSERT_TRUE(write_file_bytes(path(L"list.m3u"), bytes));
        app.playlist_path = u16(path(L"list.m3u")).c_str();
        ASSERT_TRUE(ReadPlaylistFile());
        app.is_saved = 0;
    }

    std::vector<int> marks() {
        std::vector<int> result;
        for (int row = 0; row < gadget_item_count(PLAYLIST_GADGET); ++row)
            result.push_back(gadget_item_mark_get(PLAYLIST_GADGET, row));
        return result;
    }

    std::vector<PlayerVerdict> verdicts() {
        std::vector<PlayerVerdict> result;
        for (const RowCheck& check : CheckAllRows()) result.push_back(check.verdict);
        return result;
    }

    // Saves to the current file, the person answering whatever is asked.
    std::vector<SeenDialog> save(std::vector<Answer> answers) {
        Person person(std::move(answers));
        SavePlaylist();
        return person.done();
    }

    std::string saved() { return read_file_bytes(path(L"list.m3u")).value_or("(none)"); }
};

const std::string PLAYABLE = "Music/a.mp3\r\nMusic\\Artist\\b.mp3\r\n#comment\r\n";
const std::string TROUBLED =
    "Music/a.mp3\r\nMusic/gone.mp3\r\nMusic/"
    "Folder.mp3\r\nPictures/cover.jpg\r\n";

TEST_F(PlayerCheckInProgram, RowsThatAllPlaySaveWithoutAQuestionAndUnchanged) {
    open(PLAYABLE);
    EXPECT_EQ(verdicts(), (std::vector{PlayerVerdict::plays, PlayerVerdict::plays, PlayerVerdict::no_entry}));
    EXPECT_TRUE(save({}).empty());
    EXPECT_EQ(saved(), PLAYABLE);
    EXPECT_EQ(app.is_saved, 1);
}

TEST_F(PlayerCheckInProgram, SaveNamesEachRowThePlayerWillNotPlayAndSavesAsItIsOnNo) {
    open(TROUBLED);
    EXPECT_EQ(verdicts(), (std::vector{PlayerVerdict::plays, PlayerVerdict::not_found, PlayerVerdict::folder,
                                       PlayerVerdict::unplayed_type}));
    std::vector<SeenDialog> seen = save({press(ANSWER_YES)});
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].title, L"Check before saving");
    EXPECT_EQ(seen[0].text, as_shown(L"3 rows will not play on the player as written:\r\n\r\n"
                                     L"Row 2: Music/gone.mp3\r\n    The player finds no file here.\r\n"
                                     L"Row 3: Music/Folder.mp3\r\n    This is a folder: the player plays "
                                     L"files only.\r\n"
                                     L"Row 4: Pictures/cover.jpg\r\n    The player cannot play this type "
                                     L"of file.\r\n"
                                     L"\r\nSave the playlist as it is?"));
    EXPECT_EQ(saved(), TROUBLED);
    EXPECT_EQ(app.is_saved, 1);
}

TEST_F(PlayerCheckInProgram, RowsThePlayerWillNotPlayAreMarked) {
    open(TROUBLED);
    CheckAllRows();
    EXPECT_EQ(marks(), (std::vector{GADGET_MARK_NONE, GADGET_MARK_PROBLEM, GADGET_MARK_PROBLEM, GADGET_MARK_PROBLEM}));
    // Once the missing file is there, an edit that moves its row checks it anew.
    put(L"Music/gone.mp3");
    gadget_state_set(PLAYLIST_GADGET, 0);
    MoveTrackDown();
    CheckAllRows();
    EXPECT_EQ(marks(), (std::vector{GADGET_MARK_NONE, GADGET_MARK_NONE, GADGET_MARK_PROBLEM, GADGET_MARK_PROBLEM}));
}

TEST_F(PlayerCheckInProgram, AFileRemovedAfterACheckIsMissedWhenItsRowIsCheckedAgain) {
    open("Music/a.mp3\r\nMusic/a.mp3\r\nMusic/a.mp3\r\nMusic/Artist/b.mp3\r\n");
    EXPECT_EQ(verdicts(), (std::vector(4, PlayerVerdict::plays)));
    ASSERT_TRUE(fs::remove(fs::path(path(L"Music/a.mp3"))));
    // Moving the last row up checks the last two rows again, not the first.
    gadget_state_set(PLAYLIST_GADGET, 3);
    MoveTrackUp();
    EXPECT_EQ(verdicts(), (std::vector{PlayerVerdict::plays, PlayerVerdict::plays, PlayerVerdict::plays,
                                       PlayerVerdict::not_found}));
}

TEST_F(PlayerCheckInProgram, DroppedRowsAreCheckedAndTheirMarksFollowAShuffle) {
    app.playlist_path = u16(path(L"list.m3u")).c_str();  // not written yet
    ASSERT_TRUE(drop_files({u16(path(L"Music/a.mp3")), u16(path(L"Pictures/cover.jpg"))}));
    ASSERT_TRUE(drop_files({u16(path(L"Music/Folder.mp3")), u16(path(L"Music/Artist/b.mp3"))}));
    EXPECT_EQ(verdicts(), (std::vector{PlayerVerdict::plays, PlayerVerdict::unplayed_type, PlayerVerdict::folder,
                                       PlayerVerdict::plays}));
    EXPECT_EQ(marks(), (std::vector{GADGET_MARK_NONE, GADGET_MARK_PROBLEM, GADGET_MARK_PROBLEM, GADGET_MARK_NONE}));
    ShuffleTracks();
    CheckAllRows();
    const Rows shuffled = rows();
    const std::vector<int> shown = marks();
    ASSERT_EQ(shown.size(), shuffled.size());
    for (std::size_t row = 0; row < shuffled.size(); ++row) {
        const bool troubled = shuffled[row].ends_with(u"cover.jpg") || shuffled[row].ends_with(u"Folder.mp3");
        EXPECT_EQ(shown[row], troubled ? GADGET_MARK_PROBLEM : GADGET_MARK_NONE) << row;
    }
}

TEST_F(PlayerCheckInProgram, GoingBackFromTheQuestionWritesNothing) {
    open(TROUBLED);
    ASSERT_TRUE(fs::remove(fs::path(path(L"list.m3u"))));
    std::vector<SeenDialog> seen = save({press(ANSWER_NO)});
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_FALSE(exists(path(L"list.m3u")));
    EXPECT_EQ(app.is_saved, 0);
    EXPECT_EQ(rows(), (Rows{u"Music/a.mp3", u"Music/gone.mp3", u"Music/Folder.mp3", u"Pictures/cover.jpg"}));
}

TEST_F(PlayerCheckInProgram, TheFixWritesThePathThePlayerFindsThroughItsFallback) {
    // Written on another computer: one folder more in front of the player's path.
    const std::u16string found = folder_on_player() + u"/Music/Artist/b.mp3";
    const std::u16string written = u"/Users/me" + found;
    open(utf8(written) + "\r\nMusic/gone.mp3\r\n");
    ASSERT_EQ(verdicts(), (std::vector{PlayerVerdict::plays_by_fallback, PlayerVerdict::not_found}));
    EXPECT_EQ(marks(), (std::vector{GADGET_MARK_NOTICE, GADGET_MARK_PROBLEM}));
    std::vector<SeenDialog> seen = save({press(ANSWER_YES)});
    ASSERT_EQ(seen.size(), 1u);
    const std::wstring text = seen[0].text;
    EXPECT_NE(text.find(as_shown(L"Row 1: " + wide(written.c_str()) + L"\r\n    The player plays " +
                                 wide(found.c_str()) + L" instead.\r\n")),
              std::wstring::npos)
        << text;
    EXPECT_NE(text.find(as_shown(L"Yes: fix 1 row the player finds elsewhere, "
                                 L"writing the path it finds, and save.\r\n"
                                 L"No: save the playlist as it is.\r\n"
                                 L"Cancel: go back to the list without saving.")),
              std::wstring::npos)
        << text;
    EXPECT_EQ(saved(), utf8(found) + "\r\nMusic/gone.mp3\r\n");
    EXPECT_EQ(rows(), (Rows{found, u"Music/gone.mp3"}));
    EXPECT_EQ(entries()[0].local_path, u16(path(L"Music/Artist/b.mp3")));
    EXPECT_EQ(verdicts(), (std::vector{PlayerVerdict::plays, PlayerVerdict::not_found}));
    EXPECT_EQ(marks(), (std::vector{GADGET_MARK_NONE, GADGET_MARK_PROBLEM}));
}

TEST_F(PlayerCheckInProgram, ALongRelativeLineIsWhereThePlayerStops) {
    const std::string long_line = std::string(400, 'x') + ".mp3";
    open(long_line + "\r\nMusic/a.mp3\r\n");
    std::vector<SeenDialog> seen = save({press(ANSWER_NO)});
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_NE(seen[0].text.find(as_shown(L"Row 1: " + std::wstring(80, L'x') +
                                         L"...\r\n    The player stops the playlist here: the line is "
                                         L"too long for it.\r\n"
                                         L"Row 2: Music/a.mp3\r\n    The player never gets here")),
              std::wstring::npos)
        << seen[0].text;
    EXPECT_EQ(saved(), long_line + "\r\nMusic/a.mp3\r\n");
}

TEST_F(PlayerCheckInProgram, EditsCheckTheRowsTheyChangeAgain) {
    const std::string long_line = std::string(400, 'x') + ".mp3";
    open(long_line + "\r\nMusic/a.mp3\r\n");
    EXPECT_EQ(verdicts(), (std::vector{PlayerVerdict::stops_playlist, PlayerVerdict::after_stop}));
    gadget_state_set(PLAYLIST_GADGET, 0);
    MoveTrackDown();
    EXPECT_EQ(verdicts(), (std::vector{PlayerVerdict::plays, PlayerVerdict::stops_playlist}));
    DeleteTrack();
    EXPECT_EQ(verdicts(), (std::vector{PlayerVerdict::plays}));
    EXPECT_TRUE(save({}).empty());
}

TEST_F(PlayerCheckInProgram, TheCheckGoesASliceAtATime) {
    std::string lines;
    for (int i = 0; i < 5000; ++i) lines += "Music/a.mp3\r\n";
    open(lines);
    EXPECT_TRUE(RowCheckPending());
    CheckNextRows();
    EXPECT_TRUE(RowCheckPending());
    EXPECT_EQ(verdicts(), std::vector(5000, PlayerVerdict::plays));
    EXPECT_FALSE(RowCheckPending());
}

TEST_F(PlayerCheckInProgram, FilesVanishingDuringTheCheckAskNothing) {
    std::string lines;
    // More rows than one slice takes, so that the files go between slices.
    for (int i = 0; i < 3000; ++i) lines += "Music/a.mp3\r\n";
    open(lines + "/" + std::string((1 << 20) - 1, 'y') + "\r\n");
    Person person({});
    CheckNextRows();
    remove_tree(path(L"Music"));
    std::vector<PlayerVerdict> found = verdicts();
    EXPECT_TRUE(person.done().empty());
    ASSERT_EQ(found.size(), 3001u);
    // Read in the player's code page, only its first 256 bytes count: a name
    // that is not there.
    EXPECT_EQ(found.back(), PlayerVerdict::not_found);
    EXPECT_EQ(found[2999], PlayerVerdict::not_found);
}

TEST_F(PlayerCheckInProgram, AHundredThousandRowsThatAllMissAreCheckedASliceAtATimeWithoutABox) {
    std::string lines;
    for (int i = 0; i < 100000; ++i)
        lines += (i % 2 ? "Music/gone" : "Nowhere/gone") + std::to_string(i) + ".mp3\r\n";
    open(lines);
    Person person({});
    int slices = 0;
    for (; RowCheckPending(); ++slices) CheckNextRows();
    EXPECT_GE(slices, 100000 / 2048);
    const std::vector<PlayerVerdict> found = verdicts();
    EXPECT_TRUE(person.done().empty());
    ASSERT_EQ(found.size(), 100000u);
    EXPECT_EQ(std::count(found.begin(), found.begin() + 10000, PlayerVerdict::not_found), 10000);
    EXPECT_EQ(std::count(found.begin() + 10000, found.end(), PlayerVerdict::beyond_entry_limit), 90000);
}

// Names a FAT card cannot hold are found nowhere, and none is taken as a
// pattern: `ab.mp3` is there, and no row names it.
TEST_F(PlayerCheckInProgram, NamesACardRefusesAreFoundNowhere) {
    put(L"Music/ab.mp3");
    open("Music/a?.mp3\r\nMusic/a*.mp3\r\nMusic/a<b>.mp3\r\nMusic/a|b.mp3\r\nMusic/a\"b.mp3\r\nMusic/a:b.mp3\r\n");
    Person person({});
    EXPECT_EQ(verdicts(), std::vector(6, PlayerVerdict::not_found));
    EXPECT_TRUE(person.done().empty());
}

// A playlist saved to a share that is gone: the check asks nothing that
// hangs and shows no box; Save shows only its own. Windows names a share's
// root from the path alone, so the rows are seen on another volume; Linux
// finds no mount for a path that is not there, and says nothing of them.
TEST_F(PlayerCheckInProgram, APlaylistOnAShareThatIsGoneIsCheckedWithoutABox) {
    open(TROUBLED);
#ifdef _WIN32
    app.playlist_path = u"\\\\nowhere.invalid\\share\\Lists\\list.m3u";
    const PlayerVerdict verdict = PlayerVerdict::other_volume;
    const int mark = GADGET_MARK_PROBLEM;
    std::vector<Answer> answers{press(ANSWER_YES), press(ANSWER_OK)};
#else
    app.playlist_path = u"/net/nowhere.invalid/share/Lists/list.m3u";
    const PlayerVerdict verdict = PlayerVerdict::no_entry;
    const int mark = GADGET_MARK_NONE;
    std::vector<Answer> answers{press(ANSWER_OK)};
#endif
    Person person({});
    EXPECT_EQ(verdicts(), std::vector(4, verdict));
    EXPECT_EQ(marks(), std::vector(4, mark));
    EXPECT_TRUE(person.done().empty());
    const std::size_t boxes = answers.size();
    std::vector<SeenDialog> seen = save(std::move(answers));
    ASSERT_EQ(seen.size(), boxes);
    EXPECT_EQ(seen.back().title, L"Not saved!");
    EXPECT_EQ(app.is_saved, 0);
}

}  // namespace
