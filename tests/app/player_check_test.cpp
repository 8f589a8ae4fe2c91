// What the player does with each row, checked against real files in a folder
// standing for the player, and the file a row plays, found on the real volume
// of the playlist.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/folder_listings.h"
#include "app/player_check.h"
#include "app/track_finder.h"
#include "runtime/file/file.h"
#include "runtime/text/text.h"

namespace {

namespace fs = std::filesystem;

std::string shown(std::u16string_view text) {
    std::string out;
    for (char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

// A folder of real files laid out as on a player: the playlist in
// /Playlists, songs in /Music, a picture in /Pictures.
class PlayerFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(text_init());
        static int count = 0;
        player_ = fs::temp_directory_path() / ("tunelathe-player-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" + std::to_string(++count));
        fs::remove_all(player_);
        for (const char* file : {"Music/a.mp3", "Music/Artist/b.mp3", "Playlists/c.mp3", "Pictures/cover.jpg"}) put(file);
        playlist_.volume_root = (player_ / "").u16string();
        playlist_.folder = u"/Playlists";
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(player_, ignored);
    }

    void put(const std::string& name) const {
        fs::path file = player_ / fs::u8path(name);
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << "song";
    }

    struct RowCase {
        std::u16string line;
        PlayerVerdict verdict;
        std::u16string played;
    };

    // Checks the rows in order, as one playlist.
    void expect_checks(std::initializer_list<RowCase> rows, std::u16string_view row_volume_root = u"") {
        CheckProgress progress;
        for (const RowCase& row : rows) {
            SCOPED_TRACE("row \"" + shown(row.line) + "\"");
            RowCheck check = CheckRow(playlist_, row.line, row_volume_root, progress);
            EXPECT_EQ(check.verdict, row.verdict);
            EXPECT_EQ(check.played, row.played);
        }
    }

    fs::path player_;
    PlaylistOnPlayer playlist_;
};

TEST_F(PlayerFiles, EachRowGetsWhatThePlayerDoesWithIt) {
    expect_checks({
        {u"#EXTM3U", PlayerVerdict::no_entry, u""},
        {u"", PlayerVerdict::no_entry, u""},
        {u"E:\\Music\\a.mp3", PlayerVerdict::plays, u"/Music/a.mp3"},
        {u"E:Music\\a.mp3", PlayerVerdict::plays_by_fallback, u"/Music/a.mp3"},
        {u"../../Music/a.mp3", PlayerVerdict::plays, u"/Music/a.mp3"},
        {u"./c.mp3", PlayerVerdict::plays, u"/Playlists/c.mp3"},
        {u"c.mp3 \t", PlayerVerdict::plays, u"/Playlists/c.mp3"},
        {u"  /Music/a.mp3", PlayerVerdict::plays_by_fallback, u"/Music/a.mp3"},
        // Found in other letters: as stored where the system tells letters
        // apart; Windows finds it as written.
#ifdef _WIN32
        {u"/music/A.MP3", PlayerVerdict::plays, u"/music/A.MP3"},
#else
        {u"/music/A.MP3", PlayerVerdict::plays, u"/Music/a.mp3"},
#endif
        {u"C:\\Users\\me\\Music\\iTunes\\Music\\Artist\\b.mp3", PlayerVerdict::plays_by_fallback,
         u"/Music/Artist/b.mp3"},
        {u"\\\\server\\share\\Music\\a.mp3", PlayerVerdict::plays_by_fallback, u"/Music/a.mp3"},
        {u"/Music/x/y/../../a.mp3", PlayerVerdict::not_found, u""},
        {u"/Music/missing.mp3", PlayerVerdict::not_found, u""},
        {u"/Music", PlayerVerdict::folder, u""},
        {u"/Music/Artist/", PlayerVerdict::folder, u""},
        // Blanks name the playlist's folder.
        {u"   ", PlayerVerdict::folder, u""},
        {u"/Pictures/cover.jpg", PlayerVerdict::unplayed_type, u"/Pictures/cover.jpg"},
        {u"/" + std::u16string(259, u'a'), PlayerVerdict::too_long, u""},
    });
}

TEST_F(PlayerFiles, TheFallbackTakesFilesNotFolders) {
    // /Music/b.mp3 is a folder, so the fallback goes on to the file /b.mp3.
    fs::create_directories(player_ / "Music" / "b.mp3");
    put("b.mp3");
    expect_checks({{u"/Music/b.mp3", PlayerVerdict::plays_by_fallback, u"/b.mp3"}});
}

TEST_F(PlayerFiles, ALineTooLongForTheFolderStopsThePlaylistThere) {
    expect_checks({
        {u"/Music/a.mp3", PlayerVerdict::plays, u"/Music/a.mp3"},
        {std::u16string(400, u'b'), PlayerVerdict::stops_playlist, u""},
        {u"/Music/a.mp3", PlayerVerdict::after_stop, u""},
        {u"#EXTINF:1,after the end", PlayerVerdict::no_entry, u""},
        {u"/Music/missing.mp3", PlayerVerdict::after_stop, u""},
    });
}

TEST_F(PlayerFiles, ThePlayerLoadsOnlyItsFirstEntries) {
    CheckProgress progress;
    for (int entry = 0; entry < PLAYER_ENTRY_LIMIT; ++entry) {
        // Comments are no entries and do not count.
        ASSERT_EQ(CheckRow(playlist_, u"#EXTINF:1,a", u"", progress).verdict, PlayerVerdict::no_entry);
        ASSERT_EQ(CheckRow(playlist_, u"/Music/a.mp3", u"", progress).verdict, PlayerVerdict::plays) << entry;
    }
    EXPECT_EQ(CheckRow(playlist_, u"/Music/a.mp3", u"", progress).verdict, PlayerVerdict::beyond_entry_limit);
    EXPECT_EQ(CheckRow(playlist_, u"#EXTINF:1,a", u"", progress).verdict, PlayerVerdict::no_entry);
    EXPECT_EQ(CheckRow(playlist_, u"/Music/missing.mp3", u"", progress).verdict, PlayerVerdict::beyond_entry_limit);
}

TEST_F(PlayerFiles, DroppedRowsFromAnotherVolumeAreMarked) {
    expect_checks({{u"/Music/a.mp3", PlayerVerdict::plays, u"/Music/a.mp3"}}, playlist_.volume_root);
    const std::u16string other = (player_ / "Music" / "").u16string();
    expect_checks({{u"/a.mp3", PlayerVerdict::other_volume, u""}}, other);
}

// A pass that reads its folders' listings answers every row as the system's
// own look-ups do: in other letters, through the fallback, folders named as
// songs, empty parts, names beyond ASCII; and so does a pass that reads all
// its rows before their look-ups, the listings read meanwhile on threads of
// their own. Each row comes twice, so that its folder is listed.
TEST_F(PlayerFiles, RowsCheckedFromListingsGetWhatTheSystemSays) {
    fs::create_directories(player_ / "Music" / "Album.mp3");
    put("Music/\xC3\x84rtist/\xE6\x97\xA5.mp3");  // "Ärtist/日.mp3"
    const std::u16string lines[] = {
        u"/Music/a.mp3", u"/music/A.MP3", u"/Music/Album.mp3", u"/Music/Artist/b.mp3", u"/MUSIC/ARTIST/B.mp3",
        u"E:Music\\a.mp3", u"C:\\Users\\me\\Music\\Artist\\b.mp3", u"/Music//a.mp3", u"/Music/Artist/",
        u"/Music/missing.mp3", u"/Music/\u00C4rtist/\u65E5.mp3", u"/Music/\u00E4rtist/\u65E5.mp3", u"c.mp3",
        u"/Pictures/cover.jpg", u"/Music/a.mp3 ", u"/Music/.", u"/Music/.."};
    FolderListings listings;
    FolderListings read_ahead;
    CheckProgress by_system;
    CheckProgress by_listings;
    CheckProgress by_reading_ahead;
    std::vector<RowCheck> expected;
    std::vector<RowCheck> read_first(2 * std::size(lines));
    std::vector<bool> looked_up;
    for (const std::u16string& line : lines) {
        for (int time = 0; time < 2; ++time) {
            SCOPED_TRACE("row \"" + shown(line) + "\"");
            expected.push_back(CheckRow(playlist_, line, u"", by_system));
            RowCheck check = CheckRow(playlist_, line, u"", by_listings, &listings);
            EXPECT_EQ(check.verdict, expected.back().verdict);
            EXPECT_EQ(check.played, expected.back().played);
            RowCheck& read = read_first[looked_up.size()];
            looked_up.push_back(ReadRow(playlist_, line, u"", by_reading_ahead, read));
            if (looked_up.back()) read_ahead.Expect(playlist_.volume_root, read.played);
        }
    }
    for (std::size_t row = 0; row < read_first.size(); ++row) {
        SCOPED_TRACE("row \"" + shown(lines[row / 2]) + "\", read ahead");
        if (looked_up[row]) LookUpRow(playlist_, read_first[row], &read_ahead);
        EXPECT_EQ(read_first[row].verdict, expected[row].verdict);
        EXPECT_EQ(read_first[row].played, expected[row].played);
    }
}

// Listings are kept for one pass over the rows: the next pass sees the files
// added and removed since.
TEST_F(PlayerFiles, ThePassAfterAFileCameOrWentSeesIt) {
    FolderListings listings;
    auto pass = [&] {
        CheckProgress progress;
        std::vector<PlayerVerdict> verdicts;
        for (const char16_t* line : {u"/Music/a.mp3", u"/Music/a.mp3", u"/Music/new.mp3"})
            verdicts.push_back(CheckRow(playlist_, line, u"", progress, &listings).verdict);
        listings.Forget();
        return verdicts;
    };
    EXPECT_EQ(pass(), (std::vector{PlayerVerdict::plays, PlayerVerdict::plays, PlayerVerdict::not_found}));
    put("Music/new.mp3");
    fs::remove(player_ / "Music" / "a.mp3");
    EXPECT_EQ(pass(), (std::vector{PlayerVerdict::not_found, PlayerVerdict::not_found, PlayerVerdict::plays}));
}

// A pass started over while a folder's listing is still being read (an edit
// checks the rows again) drops that listing: the next pass sees the files as
// they are then.
TEST_F(PlayerFiles, AListingDroppedWhileBeingReadIsForgotten) {
    FolderListings listings;
    for (int time = 0; time < 2; ++time) listings.Expect(playlist_.volume_root, u"/Music/a.mp3");
    listings.Forget();
    fs::remove(player_ / "Music" / "a.mp3");
    CheckProgress progress;
    for (int time = 0; time < 2; ++time)
        EXPECT_EQ(CheckRow(playlist_, u"/Music/a.mp3", u"", progress, &listings).verdict, PlayerVerdict::not_found);
}

// The playlist on its real volume: a row names its file by the path from
// that volume's root, and plays it once the player would find it.
TEST_F(PlayerFiles, RowsOfAnOpenedPlaylistPlayWhatThePlayerFinds) {
    const std::u16string playlist = (player_ / "Playlists" / "list.m3u").u16string();
    put("Playlists/list.m3u");
    Text volume_root = TextBuild() + [&](int) { file_volume_root(playlist.c_str(), -1); };
    Text volume_path = TextBuild() + [&](int) { file_volume_path(player_.u16string().c_str(), -1); };
    ASSERT_FALSE(volume_root.empty());
    const std::u16string from_root = volume_path.c_str();  // the player folder from its volume's root
    const PlaylistOnPlayer on_player = PlaylistOnPlayerAt(playlist.c_str(), LineStorage{true, true});
    EXPECT_EQ(on_player.volume_root, volume_root.c_str());
    EXPECT_EQ(on_player.folder, from_root + u"/Playlists");
    EXPECT_TRUE(on_player.storage.one_byte_a_character && on_player.storage.player_code_page);
    auto played = [&](std::u16string_view line) {
        TrackFinder tracks(playlist.c_str(), LineStorage{});
        return std::u16string(FileToPlay(tracks.LocalPathFor(line), playlist.c_str()).c_str());
    };
    const std::u16string a = (player_ / "Music" / "a.mp3").u16string();
    EXPECT_EQ(played(u"../Music/a.mp3"), a);
    // The fallback drops folders from the volume's root.
    EXPECT_EQ(played(u"C:\\Users\\me" + from_root + u"/Music/Artist/b.mp3"),
              (player_ / "Music" / "Artist" / "b.mp3").u16string());
    EXPECT_TRUE(fs::equivalent(played(u"../MUSIC/A.mp3"), a)) << "found in any letter case";
    // Nothing found: the path the player resolved, which plays nothing.
    const std::u16string missing = played(u"../Music/missing.mp3");
    EXPECT_EQ(missing, (player_ / "Music" / "missing.mp3").u16string());
    EXPECT_EQ(file_kind(missing.c_str()), FILE_KIND_NONE);
}

}  // namespace
