// The player's reading of playlist lines: which path a line names, from the
// root of the playlist's volume, and what the player makes of it.
#include <gtest/gtest.h>

#include <string>

#include "app/track_location.h"

namespace {

constexpr LineStorage UTF8_WITH_MARK{};
// UTF-8 without a byte-order mark: a .m3u8 is read as UTF-8, a .m3u in the player's code page.
constexpr LineStorage M3U8_WITHOUT_MARK{false, false};
constexpr LineStorage M3U_WITHOUT_MARK{false, true};
// ISO-8859-1 in a .m3u, as the player reads it.
constexpr LineStorage LEGACY_CODE_PAGE{true, true};

struct LineCase {
    std::u16string line;
    LineReading reading;
    std::u16string player_path;  // "" unless the line reads as a path
};

std::string shown(std::u16string_view text) {
    std::string out;
    for (char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

void expect_readings(std::u16string_view folder, LineStorage storage, std::initializer_list<LineCase> cases) {
    for (const LineCase& c : cases) {
        SCOPED_TRACE("line \"" + shown(c.line) + "\" in \"" + shown(folder) + "\"");
        std::u16string path = u"left over";
        EXPECT_EQ(PlayerTrackPath(c.line, folder, storage, path), c.reading);
        EXPECT_EQ(path, c.player_path);
    }
}

void expect_paths(std::u16string_view folder, std::initializer_list<std::pair<std::u16string, std::u16string>> cases) {
    for (const auto& [line, player_path] : cases) expect_readings(folder, UTF8_WITH_MARK, {{line, LineReading::path, player_path}});
}

std::u16string repeated(std::u16string_view part, int times) {
    std::u16string text;
    for (int i = 0; i < times; ++i) text += part;
    return text;
}

TEST(PlayerTrackPath, LinesStartingWithAHashOrEmptyAreNoEntries) {
    expect_readings(u"/Playlists", UTF8_WITH_MARK,
                    {
                        {u"", LineReading::no_entry, u""},
                        {u"#EXTM3U", LineReading::no_entry, u""},
                        {u"#EXTINF:123,Artist - Title", LineReading::no_entry, u""},
                        {u"#/Music/a.mp3", LineReading::no_entry, u""},
                    });
    // Anything else is an entry: blanks name the playlist's folder.
    expect_paths(u"/Playlists", {{u" \t ", u"/Playlists/"}, {u" #a.mp3", u"/Playlists/ #a.mp3"}});
    expect_paths(u"", {{u"  ", u"/"}});
}

TEST(PlayerTrackPath, TrailingBlanksAreCutLeadingOnesKept) {
    expect_paths(u"/Playlists", {
                                    {u"/Music/a.mp3  \t", u"/Music/a.mp3"},
                                    {u"  a.mp3", u"/Playlists/  a.mp3"},
                                    {u"  /Music/a.mp3", u"/Playlists/  /Music/a.mp3"},
                                    {u"\t/Music/a.mp3", u"/Playlists/\t/Music/a.mp3"},
                                    // Other control characters are part of the name in UTF-8 playlists.
                                    {u"/Music/a.mp3\v\f", u"/Music/a.mp3\v\f"},
                                });
    // A .m3u without a byte-order mark is read in the player's code page,
    // where \v, \f and \r are cut at the end too; not so a .m3u8.
    for (LineStorage storage : {M3U_WITHOUT_MARK, LEGACY_CODE_PAGE})
        expect_readings(u"/Playlists", storage,
                        {
                            {u"/Music/a.mp3\v\f\r \t", LineReading::path, u"/Music/a.mp3"},
                            {u"\v/Music/a.mp3", LineReading::path, u"/Playlists/\v/Music/a.mp3"},
                        });
    expect_readings(u"/Playlists", M3U8_WITHOUT_MARK, {{u"/Music/a.mp3\v", LineReading::path, u"/Music/a.mp3\v"}});
}

TEST(PlayerTrackPath, DriveLettersAreDroppedWithOrWithoutASeparator) {
    expect_paths(u"/Playlists", {
                                    {u"E:\\Music\\a.mp3", u"/Music/a.mp3"},
                                    {u"x:/Music/a.mp3", u"/Music/a.mp3"},
                                    // Any letter: the player knows only its own volume.
                                    {u"C:\\Users\\me\\Music\\b.mp3", u"/Users/me/Music/b.mp3"},
                                    // Without a separator the rest is relative.
                                    {u"E:Music\\a.mp3", u"/Playlists/Music/a.mp3"},
                                    {u"E:song.mp3", u"/Playlists/song.mp3"},
                                    {u"E:", u"/Playlists/"},
                                    // Only a letter is a drive.
                                    {u"1:/a.mp3", u"/Playlists/1:/a.mp3"},
                                    {u"\u00C9:/a.mp3", u"/Playlists/\u00C9:/a.mp3"},
                                });
}

TEST(PlayerTrackPath, RootedLinesStartAtTheVolumesRootOthersAtThePlaylistsFolder) {
    expect_paths(u"/Playlists", {
                                    {u"/Music/a.mp3", u"/Music/a.mp3"},
                                    {u"\\Music\\a.mp3", u"/Music/a.mp3"},
                                    {u"/music/A.MP3", u"/music/A.MP3"},
                                    {u"/Music", u"/Music"},
                                    {u"/", u"/"},
                                    {u"a.mp3", u"/Playlists/a.mp3"},
                                    {u"Music\\high.wav", u"/Playlists/Music/high.wav"},
                                });
    expect_paths(u"", {{u"a.mp3", u"/a.mp3"}, {u"Music\\a.mp3", u"/Music/a.mp3"}});
}

TEST(PlayerTrackPath, DotPartsAreRemovedThePlayersWay) {
    expect_paths(u"/Playlists", {
                                    {u"./c.mp3", u"/Playlists/c.mp3"},
                                    {u"./sub/./b.mp3", u"/Playlists/sub/b.mp3"},
                                    {u"sub/../c.mp3", u"/Playlists/c.mp3"},
                                    {u"../Music/a.mp3", u"/Music/a.mp3"},
                                    // The second ".." follows a "..": it removes nothing.
                                    {u"../../Music/a.mp3", u"/Music/a.mp3"},
                                    {u"/Music/x/y/../../a.mp3", u"/Music/x/a.mp3"},
                                    // Nor after a "." or an empty part.
                                    {u"/Music/x/./../a.mp3", u"/Music/x/a.mp3"},
                                    {u"/Music//../a.mp3", u"/Music//a.mp3"},
                                    // Never above the root.
                                    {u"/../Music/a.mp3", u"/Music/a.mp3"},
                                    {u"E:\\..\\a.mp3", u"/a.mp3"},
                                    // Empty parts stay.
                                    {u"//Music//a.mp3", u"//Music//a.mp3"},
                                    {u"/Music/x/..", u"/Music"},
                                    {u"/Music/.", u"/Music"},
                                    {u"/..", u"/"},
                                });
    expect_paths(u"/Lists/Rock", {{u"../../d.mp3", u"/Lists/d.mp3"}, {u"../../../d.mp3", u"/Lists/d.mp3"}});
}

TEST(PlayerTrackPath, OnlyTheFirst260BytesAsStoredCount) {
    // 257 bytes of "/Music/" and "./" parts, then the rest of the line.
    const std::u16string start = u"/Music/" + repeated(u"./", 125);
    for (LineStorage storage : {UTF8_WITH_MARK, M3U8_WITHOUT_MARK})
        expect_readings(u"/Playlists", storage,
                        {
                            {start + u"abcd", LineReading::path, u"/Music/abc"},
                            // U+00E9 takes two bytes in UTF-8: it ends the 260.
                            {start + u"a\u00E9bc", LineReading::path, u"/Music/a\u00E9"},
                            // A character stored only in part names nothing.
                            {start + u"ab\u00E9c", LineReading::path, u"/Music/ab"},
                        });
}

TEST(PlayerTrackPath, CodePageLinesAreConvertedOnlyWhileUnder257Bytes) {
    // 253 bytes, then characters are converted while fewer than 257 bytes are written.
    const std::u16string start = u"/Music/" + repeated(u"./", 123);
    expect_readings(u"/Playlists", LEGACY_CODE_PAGE,
                    {
                        {start + u"abcdefgh", LineReading::path, u"/Music/abcd"},
                        // Stored in one byte, U+00E9 takes two in UTF-8.
                        {start + u"\u00E9bcdefgh", LineReading::path, u"/Music/\u00E9bc"},
                        {start + u"ab\u00E9defgh", LineReading::path, u"/Music/ab\u00E9"},
                    });
    // UTF-8 names in a .m3u stay UTF-8; the conversion counts their UTF-8 bytes.
    expect_readings(u"/Playlists", M3U_WITHOUT_MARK,
                    {
                        {u"/Music/\u00E9.mp3", LineReading::path, u"/Music/\u00E9.mp3"},
                        {start + u"\u00E9bcdefgh", LineReading::path, u"/Music/\u00E9bc"},
                    });
    // The same lines in a .m3u8 are UTF-8 to the player.
    expect_readings(u"/Playlists", M3U8_WITHOUT_MARK,
                    {
                        {u"/Music/\u00E9.mp3", LineReading::path, u"/Music/\u00E9.mp3"},
                        {start + u"\u00E9bcdefgh", LineReading::path, u"/Music/\u00E9bcdef"},
                    });
}

TEST(PlayerTrackPath, FolderSlashAndLineOver260BytesStopThePlaylist) {
    // "/Playlists/" is 11 bytes.
    expect_readings(u"/Playlists", UTF8_WITH_MARK,
                    {
                        {std::u16string(249, u'b'), LineReading::too_long, u""},
                        {std::u16string(250, u'b'), LineReading::stops_playlist, u""},
                        {std::u16string(400, u'b'), LineReading::stops_playlist, u""},
                        // Counted before the "." parts are removed.
                        {repeated(u"./", 125) + u"a.mp3", LineReading::stops_playlist, u""},
                        {repeated(u"./", 122) + u"a.mp3", LineReading::path, u"/Playlists/a.mp3"},
                    });
}

TEST(PlayerTrackPath, ResolvedPathsOf260BytesOrMoreDoNotPlay) {
    const std::u16string fits = u"/" + std::u16string(258, u'a');
    const std::u16string accented = u"/" + std::u16string(129, u'\u00E9');  // 259 bytes
    expect_readings(u"", UTF8_WITH_MARK,
                    {
                        {fits, LineReading::path, fits},
                        {fits + u"a", LineReading::too_long, u""},
                        {accented, LineReading::path, accented},
                        {accented + u"a", LineReading::too_long, u""},
                    });
}

TEST(DropFirstFolder, TakesAwayOneLeadingFolderAtATime) {
    std::u16string path = u"/Users/me/Music/b.mp3";
    for (const char16_t* next : {u"/me/Music/b.mp3", u"/Music/b.mp3", u"/b.mp3"}) {
        ASSERT_TRUE(DropFirstFolder(path));
        EXPECT_EQ(path, next);
    }
    EXPECT_FALSE(DropFirstFolder(path));
    EXPECT_EQ(path, u"/b.mp3");
    // An empty part is a folder of its own.
    path = u"/  //Music/a.mp3";
    for (const char16_t* next : {u"//Music/a.mp3", u"/Music/a.mp3"}) {
        ASSERT_TRUE(DropFirstFolder(path));
        EXPECT_EQ(path, next);
    }
}

TEST(PlayerPlaysType, KnowsTheExtensionsOfThePlayersCodecs) {
    for (const char16_t* played : {u"/a.mp3", u"/Music/A.MP3", u"/b.Flac", u"/c.opus", u"/d.tm2", u"/e.ay", u"/f.rmvb"})
        EXPECT_TRUE(PlayerPlaysType(played)) << shown(played);
    for (const char16_t* unplayed : {u"/a.jpg", u"/a.m3u", u"/a.txt", u"/a", u"/mp3", u"/a.mp3/b", u"/a.mp3.", u"/a.mp"})
        EXPECT_FALSE(PlayerPlaysType(unplayed)) << shown(unplayed);
}

TEST(LocalPathOf, FollowsTheRootsSeparator) {
    auto local_path_of = [](std::u16string_view player_path, std::u16string_view root) {
        std::u16string local = u"left over";
        LocalPathOf(player_path, root, local);
        return local;
    };
    EXPECT_EQ(local_path_of(u"/Music/a.mp3", u"E:\\"), u"E:\\Music\\a.mp3");
    EXPECT_EQ(local_path_of(u"/Music/a.mp3", u"\\\\server\\share\\"), u"\\\\server\\share\\Music\\a.mp3");
    EXPECT_EQ(local_path_of(u"/Music/a b.mp3", u"/media/me/PLAYER/"), u"/media/me/PLAYER/Music/a b.mp3");
    EXPECT_EQ(local_path_of(u"/Music/a.mp3", u"/"), u"/Music/a.mp3");
    EXPECT_EQ(local_path_of(u"/Music/a.mp3", u""), u"");
}

TEST(PlayerPathOf, IsTheInverseOfLocalPathOf) {
    EXPECT_EQ(PlayerPathOf(u"E:\\Music\\a.mp3", u"E:\\"), u"/Music/a.mp3");
    EXPECT_EQ(PlayerPathOf(u"/media/me/PLAYER/Music/a b.mp3", u"/media/me/PLAYER/"), u"/Music/a b.mp3");
    EXPECT_EQ(PlayerPathOf(u"/Music/a.mp3", u"/"), u"/Music/a.mp3");
}

}  // namespace
