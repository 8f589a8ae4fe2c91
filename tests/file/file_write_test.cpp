// Writing lines, and how writes meet reads and the buffer.
#include <string>

#ifndef _WIN32
#include <sys/resource.h>

#include <csignal>
#endif

#include "runtime/file/file.h"
#include "tests/file/file_test_support.h"

namespace {

using FileWrite = FileTest;

TEST_F(FileWrite, LinesEndInCrLfAndCountTheirBytes) {
    ASSERT_NE(file_create(0, path("out.m3u").c_str()), 0);
    EXPECT_EQ(file_write_line(0, u"a"), 3);
    EXPECT_EQ(file_write_line(0, u""), 2);
    EXPECT_EQ(file_write_line(0, nullptr), 2);
    file_close(0);
    EXPECT_EQ(get("out.m3u"), "a\r\n\r\n\r\n");
}

TEST_F(FileWrite, TextsAreWrittenAsUtf8AndReadBack) {
    const std::u16string rows[] = {u"/Music/Καλημέρα.mp3", u"/音楽/曲.flac", u"\U0001F3B5 song"};
    ASSERT_NE(file_create(0, path("out.m3u").c_str()), 0);
    EXPECT_EQ(file_write_line(0, rows[0].c_str()), 7 + 16 + 4 + 2);
    EXPECT_EQ(file_write_line(0, rows[1].c_str()), 1 + 6 + 1 + 3 + 5 + 2);
    EXPECT_EQ(file_write_line(0, rows[2].c_str()), 4 + 5 + 2);
    file_close(0);
    EXPECT_EQ(get("out.m3u").substr(0, 29), "/Music/\xCE\x9A\xCE\xB1\xCE\xBB\xCE\xB7\xCE\xBC\xCE\xAD\xCF\x81\xCE\xB1.mp3\r\n");
    EXPECT_EQ(get("out.m3u").substr(29 + 18), "\xF0\x9F\x8E\xB5 song\r\n");
    ASSERT_NE(file_open(0, path("out.m3u").c_str()), 0);
    EXPECT_EQ(read_all_lines(0), rows[0] + u"|" + rows[1] + u"|" + rows[2]);
}

TEST_F(FileWrite, AnUnpairedSurrogateIsWrittenAsTheReplacementCharacter) {
    ASSERT_NE(file_create(0, path("out.txt").c_str()), 0);
    EXPECT_EQ(file_write_line(0, u"a\xD800" u"b\xDC00"), 1 + 3 + 1 + 3 + 2);
    file_close(0);
    EXPECT_EQ(get("out.txt"), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD\r\n");
}

TEST_F(FileWrite, ALongTextKeepsSurrogatePairsWholeWhereItIsCut) {
    // A long text is cut into pieces; after no 'a' or one, a pair straddles
    // every even or every odd place, one of which is where a piece ends.
    for (int lead = 0; lead < 2; ++lead) {
        SCOPED_TRACE(lead);
        std::u16string text(lead, u'a');
        std::string expected(lead, 'a');
        for (int i = 0; i < 40000; ++i) {
            text += u"\U0001F3B5";
            expected += "\xF0\x9F\x8E\xB5";
        }
        expected += "\r\n";
        ASSERT_NE(file_create(0, path("long.txt").c_str()), 0);
        EXPECT_EQ(file_write_line(0, text.c_str()), static_cast<int>(expected.size()));
        file_close(0);
        EXPECT_EQ(get("long.txt"), expected);
    }
}

TEST_F(FileWrite, TextsOfEveryLengthAndPlaceInMemoryAreWrittenWhole) {
    // The end of a text is looked for many characters at a time.
    alignas(16) char16_t memory[64];
    std::string expected;
    ASSERT_NE(file_create(0, path("placed.txt").c_str()), 0);
    for (int start = 0; start < 8; ++start) {
        for (int length = 0; length <= 40; ++length) {
            std::string row;
            for (int i = 0; i < length; ++i) {
                memory[start + i] = static_cast<char16_t>(u'a' + (start + i) % 26);
                row += static_cast<char>('a' + (start + i) % 26);
            }
            memory[start + length] = 0;
            memory[start + length + 1] = u'x';  // beyond the end: never written
            ASSERT_EQ(file_write_line(0, memory + start), length + 2);
            expected += row + "\r\n";
        }
    }
    EXPECT_EQ(file_finish(0), 1);
    EXPECT_EQ(get("placed.txt"), expected);
}

TEST_F(FileWrite, CreateReplacesAndOpenKeepsOrCreates) {
    put("old.m3u", "a much longer previous content\r\n");
    ASSERT_NE(file_create(0, path("old.m3u").c_str()), 0);
    file_write_line(0, u"x");
    file_close(0);
    EXPECT_EQ(get("old.m3u"), "x\r\n");

    ASSERT_NE(file_open(0, path("old.m3u").c_str()), 0);  // keeps the contents
    EXPECT_EQ(read_line(0), u"x");
    file_close(0);
    EXPECT_EQ(get("old.m3u"), "x\r\n");

    ASSERT_FALSE(exists("new.m3u"));
    ASSERT_NE(file_open(0, path("new.m3u").c_str()), 0);
    EXPECT_NE(file_eof(0), 0);
    EXPECT_TRUE(exists("new.m3u"));
    EXPECT_EQ(read_line(0), u"");
    file_close(0);
    EXPECT_EQ(get("new.m3u"), "");
}

TEST_F(FileWrite, OutputGoesWhereTheReaderStopped) {
    put("mix.txt", "one\r\ntwo\r\nthree\r\n");
    ASSERT_NE(file_open(0, path("mix.txt").c_str()), 0);
    EXPECT_EQ(read_line(0), u"one");           // the whole file is in the buffer now
    EXPECT_EQ(file_write_line(0, u"TWO"), 5);  // over "two\r\n"
    EXPECT_EQ(read_line(0), u"three");         // reading on flushes the output first
    EXPECT_NE(file_eof(0), 0);
    EXPECT_EQ(file_write_line(0, u"four"), 6);
    file_close(0);
    EXPECT_EQ(get("mix.txt"), "one\r\nTWO\r\nthree\r\nfour\r\n");
}

TEST_F(FileWrite, LargeWritesBypassTheBufferInOrder) {
    const int size = FILE_BUFFER_SIZE + 904;
    std::u16string big(size, u'B');
    ASSERT_NE(file_create(0, path("big.txt").c_str()), 0);
    EXPECT_EQ(file_write_line(0, u"first"), 7);
    EXPECT_EQ(get("big.txt"), "");  // still buffered
    EXPECT_EQ(file_write_line(0, big.c_str()), size + 2);
    // The large text went straight to the file, after the buffered line; its
    // CR LF waits in the buffer.
    EXPECT_EQ(get("big.txt"), "first\r\n" + std::string(size, 'B'));
    EXPECT_EQ(file_write_line(0, u"last"), 6);
    file_close(0);
    EXPECT_EQ(get("big.txt"), "first\r\n" + std::string(size, 'B') + "\r\nlast\r\n");
}

TEST_F(FileWrite, ManySmallLinesFillTheBufferInOrder) {
    ASSERT_NE(file_create(0, path("many.txt").c_str()), 0);
    std::string expected;
    for (int i = 0; i < 3000; ++i) {
        // Every third row with three-byte characters, so that rows of every
        // size meet the end of the buffer.
        std::string number = std::to_string(i);
        std::string row = "/Music/Artist/" + number + (i % 3 ? "" : "/\xE9\x9F\xB3\xE6\xA5\xBD") + ".mp3";
        std::u16string text = u"/Music/Artist/" + std::u16string(number.begin(), number.end()) +
                              (i % 3 ? u"" : u"/\u97F3\u697D") + u".mp3";
        expected += row + "\r\n";
        ASSERT_EQ(file_write_line(0, text.c_str()), static_cast<int>(row.size() + 2));
    }
    EXPECT_EQ(file_finish(0), 1);
    EXPECT_EQ(get("many.txt"), expected);
}

TEST_F(FileWrite, UnbufferedOutputIsInTheFileAtOnce) {
    // Shared for reading, so that the test can look while the file is open.
    ASSERT_NE(file_open_mode(0, path("direct.txt").c_str(), FILE_MODE_CREATE,
                             FILE_UNBUFFERED | FILE_SHARE_READING), 0);
    EXPECT_EQ(file_write_line(0, u"now"), 5);
    EXPECT_EQ(get("direct.txt"), "now\r\n");
    file_close(0);
}

TEST_F(FileWrite, OutputThatCannotBeWrittenIsReported) {
    put("ro.txt", "kept\r\n");
    // Read access only: every write the platform gets fails.
    ASSERT_NE(file_open_mode(0, path("ro.txt").c_str(), FILE_MODE_READ, FILE_SHARE_READING), 0);
    std::u16string big(FILE_BUFFER_SIZE + 904, u'w');
    EXPECT_EQ(file_write_line(0, big.c_str()), 0);  // the direct write fails
    EXPECT_EQ(file_finish(0), 0);                   // and its CR LF stays unwritten
    EXPECT_EQ(file_finish(0), 0);                   // closed now: no file under the number
    EXPECT_EQ(get("ro.txt"), "kept\r\n");

    ASSERT_NE(file_open_mode(0, path("ro.txt").c_str(), FILE_MODE_READ, FILE_SHARE_READING), 0);
    EXPECT_EQ(file_write_line(0, u"small"), 7);  // only buffered so far
    EXPECT_EQ(file_write_line(0, big.c_str()), 0);  // the flush before it fails
    EXPECT_EQ(read_line(0), u"");  // the lost output is not overtaken by a read either
    EXPECT_EQ(file_eof(0), 1);
    EXPECT_EQ(file_finish(0), 0);
    EXPECT_EQ(get("ro.txt"), "kept\r\n");
}

#ifndef _WIN32

// A real file-size limit that the test raises again: room that comes back.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        // Past the limit, writes fail with EFBIG instead of the signal ending the process.
        previous_handler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    void lift() { setrlimit(RLIMIT_FSIZE, &saved_); }
    ~FileSizeLimit() {
        lift();
        std::signal(SIGXFSZ, previous_handler_);
    }

private:
    rlimit saved_{};
    void (*previous_handler_)(int) = SIG_DFL;
};

TEST_F(FileWrite, ALineThatFailsHalfWayEndsTheFilesOutput) {
    // Longer than any piece a long text is written in.
    std::u16string text;
    std::string bytes;
    for (int i = 0; i < 3 * FILE_BUFFER_SIZE + 904; ++i) {
        text += static_cast<char16_t>(u'a' + i % 26);
        bytes += static_cast<char>('a' + i % 26);
    }
    ASSERT_NE(file_create(0, path("limited.txt").c_str()), 0);
    int written;
    {
        FileSizeLimit limit(7);
        written = file_write_line(0, text.c_str());
        limit.lift();
        // The room is back, but the line above has lost its middle.
        EXPECT_EQ(file_write_line(0, u"later"), 0);
    }
    EXPECT_EQ(written, 0);
    EXPECT_EQ(file_finish(0), 0);
    EXPECT_EQ(get("limited.txt"), bytes.substr(0, 7)) << "nothing of the line after the failed piece";
}

#endif

}  // namespace
