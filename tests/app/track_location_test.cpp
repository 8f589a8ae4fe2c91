// The player's reading of playlist lines: which file a line names, from the
// root of the playlist's volume.
#include <gtest/gtest.h>

#include <string>

#include "app/track_location.h"

namespace {

std::u16string player_path_of(std::u16string_view line, std::u16string_view folder) {
    std::u16string path = u"left over";
    bool named = PlayerTrackPath(line, folder, path);
    EXPECT_EQ(named, !path.empty());
    return path;
}

std::u16string local_path_of(std::u16string_view player_path, std::u16string_view root) {
    std::u16string local = u"left over";
    LocalPathOf(player_path, root, local);
    return local;
}

struct LineCase {
    const char16_t* line;
    const char16_t* player_path;  // "" when the line names no track
};

void expect_paths(std::u16string_view folder, std::initializer_list<LineCase> cases) {
    for (const LineCase& c : cases) {
        std::u16string line = c.line;
        SCOPED_TRACE(std::string(line.begin(), line.end()));
        EXPECT_EQ(player_path_of(line, folder), c.player_path);
    }
}

TEST(PlayerTrackPath, LinesThatNameNoTrack) {
    expect_paths(u"/Playlists", {
                                    {u"", u""},
                                    {u"#EXTM3U", u""},
                                    {u"#EXTINF:123,Artist - Title", u""},
                                    {u" \t ", u""},
                                    {u"/", u""},
                                });
}

TEST(PlayerTrackPath, RootedLinesStartAtTheVolumesRoot) {
    expect_paths(u"/Playlists", {
                                    {u"/Music/a.mp3", u"/Music/a.mp3"},
                                    {u"\\Music\\a.mp3", u"/Music/a.mp3"},
                                    {u"E:\\Music\\a.mp3", u"/Music/a.mp3"},
                                    {u"x:/Music/a.mp3", u"/Music/a.mp3"},
                                    // Any drive letter: the player knows only its own volume.
                                    {u"C:\\Music\\a.mp3", u"/Music/a.mp3"},
                                    {u"//Music//a.mp3", u"/Music/a.mp3"},
                                });
}

TEST(PlayerTrackPath, OtherLinesAreRelativeToThePlaylistsFolder) {
    expect_paths(u"/Playlists", {
                                    {u"a.mp3", u"/Playlists/a.mp3"},
                                    {u"../Music/a.mp3", u"/Music/a.mp3"},
                                    {u"..\\Music\\high.wav", u"/Music/high.wav"},
                                    {u"./sub/./b.mp3", u"/Playlists/sub/b.mp3"},
                                    {u"sub/../c.mp3", u"/Playlists/c.mp3"},
                                    // A colon without a slash after it is part of a name.
                                    {u"E:song.mp3", u"/Playlists/E:song.mp3"},
                                });
    expect_paths(u"", {{u"a.mp3", u"/a.mp3"}, {u"Music\\a.mp3", u"/Music/a.mp3"}});
    expect_paths(u"/Lists/Rock", {{u"../../Music/a.mp3", u"/Music/a.mp3"}});
}

TEST(PlayerTrackPath, TrailingBlanksAreDroppedLeadingOnesKept) {
    expect_paths(u"/Playlists", {
                                    {u"/Music/a.mp3  \t", u"/Music/a.mp3"},
                                    {u"  a.mp3", u"/Playlists/  a.mp3"},
                                    {u"\t/Music/a.mp3", u"/Playlists/\t/Music/a.mp3"},
                                });
}

TEST(PlayerTrackPath, PathsAboveTheRootOrTooLongNameNoTrack) {
    expect_paths(u"/Playlists", {
                                    {u"../../../a.mp3", u""},
                                    {u"/../a.mp3", u""},
                                    {u"E:\\..\\a.mp3", u""},
                                });
    // 259 bytes in UTF-8 are played; 260 are not.
    const std::u16string fits = u"/" + std::u16string(258, u'a');
    EXPECT_EQ(player_path_of(fits, u""), fits);
    EXPECT_EQ(player_path_of(fits + u"a", u""), u"");
    // Characters beyond ASCII count with their UTF-8 length: 1 + 2 * 129 = 259.
    const std::u16string accented = u"/" + std::u16string(129, u'\u00E9');
    EXPECT_EQ(player_path_of(accented, u""), accented);
    EXPECT_EQ(player_path_of(accented + u"\u00E9", u""), u"");
    // The relative line counts with the folder it ends up in.
    EXPECT_EQ(player_path_of(std::u16string(250, u'b'), u"/Playlists"), u"");
}

TEST(LocalPathOf, FollowsTheRootsSeparator) {
    EXPECT_EQ(local_path_of(u"/Music/a.mp3", u"E:\\"), u"E:\\Music\\a.mp3");
    EXPECT_EQ(local_path_of(u"/Music/a.mp3", u"\\\\server\\share\\"), u"\\\\server\\share\\Music\\a.mp3");
    EXPECT_EQ(local_path_of(u"/Music/a b.mp3", u"/media/me/PLAYER/"), u"/media/me/PLAYER/Music/a b.mp3");
    EXPECT_EQ(local_path_of(u"/Music/a.mp3", u"/"), u"/Music/a.mp3");
    EXPECT_EQ(local_path_of(u"/Music/a.mp3", u""), u"");
}

}  // namespace
