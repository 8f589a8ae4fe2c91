// The player check and a row's file on a real exFAT volume, as players' cards
// come formatted: its names ignore letter case, and the playlist's volume is
// the card itself.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "app/player_check.h"
#include "app/track_finder.h"
#include "runtime/text/text.h"
#include "tests/support/player_mount.h"

namespace {

namespace fs = std::filesystem;

// The card ignores letter case, and so do its file numbers: paths that differ
// in case only are compared by their letters.
std::string lower(const fs::path& path) {
    std::string text = path.string();
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return text;
}

class ExfatPlayer : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(text_init());
        work_ = fs::temp_directory_path() / ("tunelathe-exfat-" + std::to_string(getpid()));
        player_ = std::make_unique<PlayerMount>(work_ / "Player", PlayerFileSystem::exfat);
        if (!player_->supported) GTEST_SKIP() << player_->problem;
        ASSERT_TRUE(player_->mounted) << player_->problem << " (mounting a file system needs root)";
        for (const char* file : {"Music/a.mp3", "Music/Artist/b.mp3", "Playlists/c.mp3", "Playlists/list.m3u"}) {
            fs::path path = player_->at / file;
            fs::create_directories(path.parent_path());
            std::ofstream(path, std::ios::binary) << "song";
        }
        playlist_path_ = (player_->at / "Playlists" / "list.m3u").u16string();
    }
    void TearDown() override {
        player_.reset();
        std::error_code ignored;
        fs::remove_all(work_, ignored);
    }

    fs::path work_;
    std::unique_ptr<PlayerMount> player_;
    std::u16string playlist_path_;
};

TEST_F(ExfatPlayer, RowsAreCheckedOnTheCardInAnyLetterCase) {
    const PlaylistOnPlayer playlist = PlaylistOnPlayerAt(playlist_path_.c_str(), LineStorage{});
    EXPECT_EQ(playlist.volume_root, (player_->at / "").u16string()) << "the card is the playlist's volume";
    EXPECT_EQ(playlist.folder, u"/Playlists");

    struct RowCase {
        std::u16string line;
        PlayerVerdict verdict;
        const char* file;  // the file played, from the card's root; none when null
    };
    const RowCase rows[] = {
        {u"/music/A.MP3", PlayerVerdict::plays, "Music/a.mp3"},
        {u"E:Music\\a.mp3", PlayerVerdict::plays_by_fallback, "Music/a.mp3"},
        {u"C:\\Users\\me\\Music\\iTunes\\MUSIC\\ARTIST\\B.MP3", PlayerVerdict::plays_by_fallback, "Music/Artist/b.mp3"},
        {u"./C.mp3", PlayerVerdict::plays, "Playlists/c.mp3"},
        {u"/MUSIC", PlayerVerdict::folder, nullptr},
        {u"/Music/missing.mp3", PlayerVerdict::not_found, nullptr},
        // Names the card cannot hold, none taken as a pattern for a.mp3.
        {u"/Music/?.mp3", PlayerVerdict::not_found, nullptr},
        {u"/Music/*.mp3", PlayerVerdict::not_found, nullptr},
        {u"/Music/a:b.mp3", PlayerVerdict::not_found, nullptr},
        {u"/Music/a<|>\"b.mp3", PlayerVerdict::not_found, nullptr},
    };
    CheckProgress progress;
    for (const RowCase& row : rows) {
        SCOPED_TRACE(std::string(row.line.begin(), row.line.end()));
        RowCheck check = CheckRow(playlist, row.line, u"", progress);
        EXPECT_EQ(check.verdict, row.verdict);
        if (!row.file) {
            EXPECT_EQ(check.played, u"");
            continue;
        }
        ASSERT_FALSE(check.played.empty());
        EXPECT_EQ(lower(player_->at / fs::path(check.played).relative_path()), lower(player_->at / row.file));
    }
}

TEST_F(ExfatPlayer, AnOpenedRowPlaysTheFileTheCardGivesThePlayer) {
    TrackFinder tracks(playlist_path_.c_str(), LineStorage{});
    auto played = [&](std::u16string_view line) {
        return fs::path(std::u16string(FileToPlay(tracks.LocalPathFor(line), playlist_path_.c_str()).c_str()));
    };
    const std::string a = lower(player_->at / "Music" / "a.mp3");
    EXPECT_EQ(lower(played(u"E:Music\\a.mp3")), a) << "by the fallback";
    EXPECT_EQ(lower(played(u"/media/me/PLAYER/Music/a.mp3")), a) << "by the fallback";
    EXPECT_EQ(lower(played(u"../music/A.MP3")), a) << "in other letters";
    EXPECT_EQ(lower(played(u"C:\\Users\\me\\Music\\iTunes\\Music\\Artist\\b.mp3")),
              lower(player_->at / "Music" / "Artist" / "b.mp3"));
    // Found: the name plays; not a path that is not there.
    EXPECT_TRUE(fs::is_regular_file(played(u"../music/A.MP3")));
}

}  // namespace
