// Playlist files: Save, Save as and Open through the real file dialogs,
// checked byte for byte on disk and row for row in the list.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/playlist.h"
#include "app/playlist_file.h"
#include "tests/app/app_support.h"

namespace {

using Rows = std::vector<std::u16string>;
const std::string BOM = "\xEF\xBB\xBF";

class PlaylistFiles : public AppTest {
protected:
    // Opens the file through the Open dialog, expecting no other question.
    void open(const std::wstring& file) {
        Person person({choose_file(file)});
        OpenPlaylist();
        std::vector<SeenDialog> seen = person.done();
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].title, L"Open M3U file");
    }
    // Saves through the first Save's dialog, typing the name given.
    std::vector<SeenDialog> save_as_new(const std::wstring& typed) {
        app.playlist_path = nullptr;
        Person person({choose_file(typed)});
        SavePlaylist();
        return person.done();
    }
    Rows opened(const std::string& bytes) {
        EXPECT_TRUE(write_file_bytes(path(L"in.m3u"), bytes));
        open(path(L"in.m3u"));
        return rows();
    }
};

TEST_F(PlaylistFiles, SaveOfAnEmptyListIsRefused) {
    app.playlist_path = u16(path(L"empty.m3u")).c_str();
    app.is_saved = 0;
    Person person({press(ANSWER_OK)});
    SavePlaylist();
    std::vector<SeenDialog> seen = person.done();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].title, L"Empty playlist");
    EXPECT_EQ(seen[0].text, as_shown(L"The current playlist is empty,\rthere is nothing to save."));
    EXPECT_TRUE(names_in(folder_).empty());
    EXPECT_EQ(app.is_saved, 0);
}

TEST_F(PlaylistFiles, SaveAsOfAnEmptyListWritesAnEmptyFile) {
    app.is_saved = 0;
    Person person({choose_file(path(L"empty"))});
    SavePlaylistAs();
    std::vector<SeenDialog> seen = person.done();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].title, L"Save file as");
    EXPECT_EQ(read_file_bytes(path(L"empty.m3u")), std::string());
    EXPECT_EQ(app.is_saved, 1);
    EXPECT_EQ(main_title(), title_for(L"empty.m3u"));
}

TEST_F(PlaylistFiles, SaveAddsTheExtensionUnlessItIsExactlyM3u) {
    ASSERT_TRUE(drop_files({player_file(u"/Music/a.mp3"), player_file(u"/Music/b.mp3")}));
    const struct {
        const wchar_t* typed;
        const wchar_t* written;
    } cases[] = {{L"mylist", L"mylist.m3u"}, {L"mylist.M3U", L"mylist.M3U.m3u"}, {L"other.m3u", L"other.m3u"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(utf8(u16(c.typed)));
        app.is_saved = 0;
        std::vector<SeenDialog> seen = save_as_new(path(c.typed));
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].title, L"Save file");
        EXPECT_EQ(wide(app.playlist_path.c_str()), path(c.written));
        // The two rows: 28 bytes, CR LF after each, no byte-order mark.
        EXPECT_EQ(read_file_bytes(path(c.written)), std::string("/Music/a.mp3\r\n/Music/b.mp3\r\n"));
        EXPECT_EQ(app.is_saved, 1);
        EXPECT_EQ(main_title(), title_for(c.written));
    }
    EXPECT_EQ(names_in(folder_), (std::vector<std::wstring>{L"mylist.M3U.m3u", L"mylist.m3u", L"other.m3u"}))
        << "nothing but the playlists, no temporary file left";
}

TEST_F(PlaylistFiles, SecondSaveWritesWithoutADialog) {
    ASSERT_TRUE(drop_files({player_file(u"/a.mp3")}));
    ASSERT_EQ(save_as_new(path(L"list.m3u")).size(), 1u);
    ASSERT_TRUE(drop_files({player_file(u"/b.mp3")}));
    Person person({});
    SavePlaylist();
    EXPECT_TRUE(person.done().empty());
    EXPECT_EQ(read_file_bytes(path(L"list.m3u")), std::string("/a.mp3\r\n/b.mp3\r\n"));
    EXPECT_EQ(app.is_saved, 1);
    EXPECT_EQ(main_title(), title_for(L"list.m3u"));
}

TEST_F(PlaylistFiles, RowsOutsideAsciiAreSavedWithAByteOrderMarkAndReadBack) {
    const Rows written{u"/Musik/\u00C4rzte \u2013 Lied.mp3", u"/\u65E5\u672C/\u66F2.mp3", u"/plain.mp3"};
    ASSERT_TRUE(drop_files({player_file(written[0]), player_file(written[1]), player_file(written[2])}));
    ASSERT_EQ(save_as_new(path(L"utf8.m3u")).size(), 1u);
    EXPECT_EQ(read_file_bytes(path(L"utf8.m3u")),
              BOM + utf8(written[0]) + "\r\n" + utf8(written[1]) + "\r\n" + utf8(written[2]) + "\r\n");

    ClearPlaylist();
    open(path(L"utf8.m3u"));
    EXPECT_EQ(rows(), written) << "the byte-order mark is not part of the first row";
}

TEST_F(PlaylistFiles, EveryLineEndReadsTheSameRows) {
    const Rows expected{u"/a.mp3", u"", u"/b c.mp3"};
    for (const char* end : {"\r\n", "\n", "\r"}) {
        SCOPED_TRACE(end[0] == '\r' ? (end[1] ? "CR LF" : "CR") : "LF");
        EXPECT_EQ(opened(std::string("/a.mp3") + end + end + "/b c.mp3" + end), expected);
    }
    EXPECT_EQ(opened("/a.mp3\r\n\r\n/b c.mp3"), expected) << "without a last line end";
    EXPECT_TRUE(opened("").empty());
}

TEST_F(PlaylistFiles, HeaderLinesAreRowsAndAreWrittenBack) {
    const std::string file = "#EXTM3U\r\n#EXTINF:123,Artist - Title\r\n/Music/a.mp3\r\n";
    EXPECT_EQ(opened(file), (Rows{u"#EXTM3U", u"#EXTINF:123,Artist - Title", u"/Music/a.mp3"}));
    Person person({press(ANSWER_YES)});
    SavePlaylist();
    EXPECT_EQ(person.done().size(), 1u) << "only the question about rows the player will not play";
    EXPECT_EQ(read_file_bytes(path(L"in.m3u")), file);
}

TEST_F(PlaylistFiles, CancelledOpenKeepsTheListAndTheTitle) {
    ASSERT_TRUE(drop_files({player_file(u"/a.mp3")}));
    ASSERT_EQ(save_as_new(path(L"kept.m3u")).size(), 1u);
    Person person({cancel_dialog()});
    OpenPlaylist();
    EXPECT_EQ(person.done().size(), 1u);
    EXPECT_EQ(rows(), Rows{u"/a.mp3"});
    EXPECT_EQ(main_title(), title_for(L"kept.m3u"));
    EXPECT_TRUE(app.playlist_path.empty());
}

TEST_F(PlaylistFiles, OpeningAMissingFileCreatesItEmpty) {
    ASSERT_TRUE(drop_files({player_file(u"/a.mp3")}));
    app.is_saved = 1;
    open(path(L"new.m3u"));
    EXPECT_EQ(read_file_bytes(path(L"new.m3u")), std::string());
    EXPECT_TRUE(rows().empty());
    EXPECT_TRUE(entries().empty());
    EXPECT_EQ(main_title(), title_for(L"new.m3u"));
}

TEST_F(PlaylistFiles, ForeignBytesOpenWithoutHarm) {
    // Bytes that are not UTF-8 come from a legacy code page: one character
    // each. A NUL byte ends a line.
    EXPECT_EQ(opened("a\xFF"
                     "b\r\n\xC3(\r\nx" +
                     std::string(1, '\0') + "y\r\n"),
              (Rows{u"a\u00FFb", u"\u00C3(", u"x", u"y"}));
    // After a byte-order mark, malformed UTF-8 becomes U+FFFD.
    EXPECT_EQ(opened(BOM + "a\xFF"
                           "b\r\n\xC3(\r\n"),
              (Rows{u"a\uFFFDb", u"\uFFFD("}));
    // Far beyond what the text builder holds at first, so that copying the
    // row meets a buffer that has moved.
    std::string long_line;
    for (int i = 0; long_line.size() < 500000; ++i) long_line += static_cast<char>('a' + i % 26);
    Rows long_rows = opened("/first.mp3\r\n" + long_line + "\r\n/last.mp3\r\n");
    ASSERT_EQ(long_rows.size(), 3u);
    EXPECT_EQ(long_rows[1], std::u16string(long_line.begin(), long_line.end()));
    EXPECT_EQ(entries()[1].player_path, long_rows[1]);
    EXPECT_EQ(long_rows[2], u"/last.mp3");
}

TEST_F(PlaylistFiles, ALegacyCodePagePlaylistKeepsItsNamesThroughOpenAndSave) {
    // Written by another tool in ISO-8859-1: not UTF-8, so each byte is a character.
    const std::string latin1 = "/M\xFCsik/Caf\xE9.mp3\r\n/\xC0 la carte.mp3\r\n#plain\r\n";
    EXPECT_EQ(opened(latin1), (Rows{u"/M\u00FCsik/Caf\u00E9.mp3", u"/\u00C0 la carte.mp3", u"#plain"}));
    Person person({press(ANSWER_YES)});
    SavePlaylist();
    EXPECT_EQ(person.done().size(), 1u) << "only the question about rows the player will not play";
    // Saved in UTF-8 with its byte-order mark, which every player reads so.
    EXPECT_EQ(read_file_bytes(path(L"in.m3u")),
              BOM + "/M\xC3\xBCsik/Caf\xC3\xA9.mp3\r\n/\xC3\x80 la carte.mp3\r\n#plain\r\n");
    // And read back as UTF-8, the same rows.
    EXPECT_EQ(opened(read_file_bytes(path(L"in.m3u")).value_or("")),
              (Rows{u"/M\u00FCsik/Caf\u00E9.mp3", u"/\u00C0 la carte.mp3", u"#plain"}));
}

TEST_F(PlaylistFiles, AFileOfOnlyAByteOrderMarkIsAnEmptyPlaylist) {
    EXPECT_TRUE(opened(BOM).empty());
    EXPECT_TRUE(entries().empty());
    EXPECT_EQ(opened(BOM + "/a.mp3\r\n"), Rows{u"/a.mp3"});
    EXPECT_TRUE(opened(BOM).empty());
    // Nothing to write back: not even a bare line end.
    Person person({choose_file(path(L"copy.m3u"))});
    SavePlaylistAs();
    person.done();
    EXPECT_EQ(read_file_bytes(path(L"copy.m3u")), std::string());
}

}  // namespace
