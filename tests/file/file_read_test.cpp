// Reading lines: line ends, long lines across buffer refills, encodings.
#include <string>
#include <thread>

#include "runtime/file/file.h"
#include "runtime/text/text.h"
#include "tests/file/file_test_support.h"

namespace {

using FileRead = FileTest;

class FileReadLines : public FileTest {
protected:
    std::u16string lines(const std::string& bytes) {
        put("in.txt", bytes);
        EXPECT_NE(file_open(0, path("in.txt").c_str()), 0);
        std::u16string all = read_all_lines(0);
        EXPECT_NE(file_eof(0), 0);
        // All at once, the same lines.
        EXPECT_NE(file_open(0, path("in.txt").c_str()), 0);
        EXPECT_EQ(read_lines_at_once(0), all);
        EXPECT_NE(file_eof(0), 0);
        file_close(0);
        return all;
    }
};

TEST_F(FileReadLines, EveryKindOfLineEndSplitsLines) {
    put("in.txt", std::string("a\rb\nc\r\nd"));
    ASSERT_NE(file_open(0, path("in.txt").c_str()), 0);
    EXPECT_EQ(file_eof(0), 0);
    EXPECT_EQ(read_line(0), u"a");
    EXPECT_EQ(read_line(0), u"b");
    EXPECT_EQ(read_line(0), u"c");
    EXPECT_EQ(file_eof(0), 0);
    EXPECT_EQ(read_line(0), u"d");
    EXPECT_EQ(file_eof(0), 1);
    EXPECT_EQ(read_line(0), u"");
}

TEST_F(FileReadLines, EndsAndEmptyLines) {
    EXPECT_EQ(lines("a\rb\r"), u"a|b");           // a trailing lone CR ends the last line once
    EXPECT_EQ(lines("a\r\n"), u"a");
    EXPECT_EQ(lines("\n\n"), u"|");
    EXPECT_EQ(lines("\r\n\r\n"), u"|");
    EXPECT_EQ(lines("\r\r"), u"|");               // CR CR is two line ends, not one
    EXPECT_EQ(lines("\n\r"), u"|");               // LF CR too
    EXPECT_EQ(lines(""), u"");
}

TEST_F(FileReadLines, NulEndsALine) {
    EXPECT_EQ(lines(std::string("ab\0cd", 5)), u"ab|cd");
    EXPECT_EQ(lines(std::string("\0", 1)), u"");
    EXPECT_EQ(lines(std::string("x\r\0y", 4)), u"x||y");  // CR, then NUL is its own line end
}

TEST_F(FileReadLines, LongLinesAreReadWhole) {
    // Longer than a buffer.
    std::string long_line(FILE_BUFFER_SIZE + 904, 'x');
    std::u16string long_text(FILE_BUFFER_SIZE + 904, u'x');
    EXPECT_EQ(lines(long_line + "\r\nshort"), long_text + u"|short");

    // Over three buffers, with two-byte characters that straddle the refills
    // (the odd start puts every boundary inside one).
    std::string bytes = "#";
    std::u16string text = u"#";
    for (int i = 0; i < 3 * FILE_BUFFER_SIZE / 2 + 300; ++i) {
        bytes += "\xC3\xA9";
        text += u'\u00E9';
    }
    EXPECT_EQ(lines(bytes + "\nnext\n" + bytes), text + u"|next|" + text);
}

TEST_F(FileReadLines, LineEndsAtBufferBoundaries) {
    constexpr int buffer = FILE_BUFFER_SIZE;
    // CR as the last byte of the first buffer, LF first of the next: one line end.
    std::string first(buffer - 1, 'a');
    EXPECT_EQ(lines(first + "\r\nb"), std::u16string(buffer - 1, u'a') + u"|b");
    // CR last in the buffer and another byte after it: that byte is put back.
    EXPECT_EQ(lines(first + "\rb"), std::u16string(buffer - 1, u'a') + u"|b");
    // A line ending exactly at the buffer's end, and one starting there.
    EXPECT_EQ(lines(std::string(buffer, 'c') + "\nd"), std::u16string(buffer, u'c') + u"|d");
    EXPECT_EQ(lines(std::string(buffer - 1, 'e') + "\n" + std::string(buffer + 904, 'f')),
              std::u16string(buffer - 1, u'e') + u"|" + std::u16string(buffer + 904, u'f'));
}

TEST_F(FileReadLines, OverlongLinesAreCutAtTheLimit) {
    std::string limit(FILE_LINE_LIMIT, 'z');
    put("in.txt", limit + "tail\n" + limit + "\nend");
    ASSERT_NE(file_open(0, path("in.txt").c_str()), 0);
    EXPECT_EQ(read_line(0).size(), static_cast<std::size_t>(FILE_LINE_LIMIT));
    EXPECT_EQ(read_line(0), u"tail");
    EXPECT_EQ(read_line(0).size(), static_cast<std::size_t>(FILE_LINE_LIMIT));  // exactly the limit: whole
    EXPECT_EQ(read_line(0), u"end");
    EXPECT_NE(file_eof(0), 0);
}

TEST_F(FileReadLines, TheCutAtTheLimitKeepsCharactersWhole) {
    const struct {
        std::string bytes;
        std::u16string text;
    } characters[] = {{"\xC3\xA9", u"\u00E9"}, {"\xE2\x82\xAC", u"\u20AC"}, {"\xF0\x9F\x8E\xB5", u"\U0001F3B5"}};
    // The limit falls after each byte of each character but its last; a
    // short first line moves the cut off the buffer's boundary.
    for (const std::string first : {"", "ab\n"})
        for (const auto& c : characters)
            for (std::size_t before = 1; before < c.bytes.size(); ++before) {
                SCOPED_TRACE(testing::Message() << first.size() << " " << c.bytes.size() << " " << before);
                const std::string head(FILE_LINE_LIMIT - before, 'z');
                put("in.txt", first + head + c.bytes + "tail\n" + head + c.bytes + "\r\nend");
                ASSERT_NE(file_open(0, path("in.txt").c_str()), 0);
                if (!first.empty()) {
                    EXPECT_EQ(read_line(0), u"ab");
                }
                for (const std::u16string after : {u"tail", u"end"}) {
                    const std::u16string line = read_line(0);
                    EXPECT_EQ(line.size(), head.size() + c.text.size());
                    EXPECT_EQ(line.substr(head.size()), c.text);
                    // A line end right after the character ends this line.
                    EXPECT_EQ(read_line(0), after);
                }
                file_close(0);
            }
    // One byte at a time the same; and bytes that cannot complete the
    // character stay for the next line.
    put("in.txt", std::string(FILE_LINE_LIMIT - 1, 'z') + "\xE2\x82\xAC\n" + std::string(FILE_LINE_LIMIT - 1, 'z') +
                      "\xE2" "x\n");
    ASSERT_NE(file_open_mode(0, path("in.txt").c_str(), FILE_MODE_READ, FILE_UNBUFFERED), 0);
    EXPECT_EQ(read_line(0).substr(FILE_LINE_LIMIT - 1), u"\u20AC");
    EXPECT_EQ(read_line(0).size(), static_cast<std::size_t>(FILE_LINE_LIMIT));
    EXPECT_EQ(read_line(0), u"x");
}

TEST_F(FileReadLines, AFileThatIsNotUtf8ReadsAsLatin1) {
    const std::string piece(65535, 'a');
    const struct {
        std::string bytes;
        int form;
        std::u16string text;
    } files[] = {
        {"Caf\xE9\r\n\xC0 la carte.mp3\r\n", FILE_TEXT_LATIN1, u"Caf\u00E9|\u00C0 la carte.mp3"},
        {"Caf\xC3\xA9\r\n", FILE_TEXT_UTF8, u"Caf\u00E9"},
        // A character across the pieces the file is looked at in.
        {piece + "\xC3\xA9", FILE_TEXT_UTF8, std::u16string(piece.begin(), piece.end()) + u"\u00E9"},
        // One stray byte at the very end is enough.
        {piece + "\xC3", FILE_TEXT_LATIN1, std::u16string(piece.begin(), piece.end()) + u"\u00C3"},
        // A byte-order mark says UTF-8, whatever follows.
        {"\xEF\xBB\xBF" "Caf\xE9", FILE_TEXT_UTF8, u"\uFEFFCaf\uFFFD"},
        {"", FILE_TEXT_UTF8, u""},
    };
    for (const auto& f : files) {
        SCOPED_TRACE(f.bytes.substr(0, 20));
        put("in.m3u", f.bytes);
        for (int flags : {0, FILE_UNBUFFERED})
            for (bool at_once : {false, true}) {
                ASSERT_NE(file_open_mode(0, path("in.m3u").c_str(), FILE_MODE_READ, flags), 0);
                EXPECT_EQ(file_detect_text(0), f.form);
                EXPECT_EQ(at_once ? read_lines_at_once(0) : read_all_lines(0), f.text);
                EXPECT_EQ(file_finish(0), 1);
            }
    }
    // The look keeps the reading position, and chooses from there on.
    put("in.m3u", "Caf\xE9\nCaf\xC3\xA9\n");
    ASSERT_NE(file_open(0, path("in.m3u").c_str()), 0);
    EXPECT_EQ(read_line(0), u"Caf\uFFFD");
    EXPECT_EQ(file_detect_text(0), FILE_TEXT_UTF8);
    EXPECT_EQ(read_line(0), u"Caf\u00E9");
    EXPECT_EQ(file_detect_text(5), 0);
}

TEST_F(FileReadLines, Utf8DecodesIncludingSurrogatePairs) {
    // Greek, Japanese, and U+1F3B5 as F0 9F 8E B5.
    EXPECT_EQ(lines("\xCE\x9A\xCE\xB1\xCE\xBB\xCE\xB7\xCE\xBC\xCE\xAD\xCF\x81\xCE\xB1\r\n"
                    "\xE9\x9F\xB3\xE6\xA5\xBD\r\n"
                    "/M/\xF0\x9F\x8E\xB5.mp3\r\n"),
              u"Καλημέρα|音楽|/M/\U0001F3B5.mp3");
    // A byte-order mark is an ordinary character.
    EXPECT_EQ(lines("\xEF\xBB\xBFx\r\ny"), u"\uFEFFx|y");
}

TEST_F(FileReadLines, MalformedUtf8ReadsAsReplacementCharacters) {
    // One U+FFFD per maximal subpart: a truncated sequence as a whole, bytes
    // that can never start a sequence one by one.
    EXPECT_EQ(lines("a\xFF" "b\xE2\x82" "c\xF0\x9F\x8E" "d\xC0\xAF" "e\xED\xA0\x80" "f\xC3"),
              u"a\uFFFDb\uFFFDc\uFFFDd\uFFFD\uFFFDe\uFFFD\uFFFD\uFFFDf\uFFFD");
}

TEST_F(FileRead, UnbufferedFilesReadTheSameLines) {
    std::string bytes = "a\rb\nc\r\nd" + std::string("\0", 1) + "\xCE\xB1" + std::string(5000, 'q') + "\r";
    put("in.txt", bytes);
    ASSERT_NE(file_open(0, path("in.txt").c_str()), 0);
    std::u16string buffered = read_all_lines(0);
    EXPECT_EQ(file_eof(0), 1);
    ASSERT_NE(file_open_mode(0, path("in.txt").c_str(), FILE_MODE_OPEN, FILE_UNBUFFERED), 0);
    EXPECT_EQ(read_all_lines(0), buffered);
    EXPECT_EQ(file_eof(0), -1);
    ASSERT_NE(file_open_mode(0, path("in.txt").c_str(), FILE_MODE_OPEN, FILE_UNBUFFERED), 0);
    EXPECT_EQ(read_lines_at_once(0), buffered);
    EXPECT_EQ(file_eof(0), -1);
    EXPECT_EQ(buffered, u"a|b|c|d|\u03B1" + std::u16string(5000, u'q'));
}

TEST_F(FileRead, ALineIsBuiltAtTheBuilderPositionAndLeavesItAtItsEnd) {
    put("in.txt", "first\nsecond\n");
    ASSERT_NE(file_open(0, path("in.txt").c_str()), 0);
    int mark = text_builder_mark();
    text_builder_append(u"[");
    char16_t* line = file_read_line(0);
    EXPECT_EQ(line, text_builder_address(mark) + 1);
    EXPECT_EQ(text_builder_mark(), mark + 2 * 6);
    text_builder_append(u"]");
    EXPECT_EQ(std::u16string(text_builder_address(mark)), u"[first]");
    text_builder_rewind(mark);
}

TEST_F(FileRead, TheRestOfTheLinesAreBuiltOneBehindTheOther) {
    put("in.txt", "first\n\nthird\r\nlast");
    ASSERT_NE(file_open(0, path("in.txt").c_str()), 0);
    EXPECT_EQ(read_line(0), u"first");
    int mark = text_builder_mark();
    text_builder_append(u"[");
    EXPECT_EQ(file_read_lines(0), 3);
    const int end = text_builder_mark();
    EXPECT_EQ(std::u16string(text_builder_address(mark), text_builder_address(end)),
              std::u16string(u"[\0third\0last\0", 13));
    EXPECT_EQ(file_eof(0), 1);
    EXPECT_EQ(file_read_lines(0), 0);
    EXPECT_EQ(file_read_lines(7), 0) << "no file under that number";
    EXPECT_EQ(text_builder_mark(), end) << "nothing more built";
    text_builder_rewind(mark);
}

TEST_F(FileRead, EndOfFileSeesLinesAnotherThreadRead) {
    put("in.txt", "one\ntwo\nthree\n");
    ASSERT_NE(file_open(0, path("in.txt").c_str()), 0);
    EXPECT_EQ(read_line(0), u"one");
    EXPECT_EQ(file_eof(0), 0);
    std::u16string rest;
    std::thread([&rest] { rest = read_all_lines(0); }).join();
    EXPECT_EQ(rest, u"two|three");
    EXPECT_EQ(file_eof(0), 1);
}

TEST_F(FileRead, EndOfFileFollowsTheFileANumberHoldsNow) {
    put("full.txt", "a\nb\n");
    put("other.txt", "c\nd\n");
    put("empty.txt", "");
    ASSERT_NE(file_open(0, path("full.txt").c_str()), 0);
    EXPECT_EQ(read_line(0), u"a");
    ASSERT_NE(file_open(0, path("empty.txt").c_str()), 0);
    EXPECT_EQ(file_eof(0), 1);
    ASSERT_NE(file_open(0, path("full.txt").c_str()), 0);
    EXPECT_EQ(read_line(0), u"a");
    ASSERT_NE(file_open(1, path("other.txt").c_str()), 0);  // another number, no effect on 0
    EXPECT_EQ(read_all_lines(1), u"c|d");
    EXPECT_EQ(file_eof(0), 0);
    EXPECT_EQ(read_line(0), u"b");
    EXPECT_EQ(file_eof(0), 1);
}

}  // namespace
