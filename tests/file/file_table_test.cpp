// File numbers, modes, and opening files the platform guards.
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>

#include <fstream>
#endif

#include "runtime/file/file.h"
#include "runtime/file/path_bytes.h"
#include "runtime/text/text.h"
#include "tests/file/file_test_support.h"

namespace {

using FileTable = FileTest;

TEST_F(FileTable, ReusingANumberClosesItsFile) {
    ASSERT_NE(file_create(3, path("one.txt").c_str()), 0);
    file_write_line(3, u"one");
    EXPECT_EQ(get("one.txt"), "");  // buffered
    ASSERT_NE(file_create(3, path("two.txt").c_str()), 0);
    EXPECT_EQ(get("one.txt"), "one\r\n");  // flushed when the number was reused
    file_write_line(3, u"two");
    file_close(3);
    EXPECT_EQ(get("two.txt"), "two\r\n");
    EXPECT_EQ(get("one.txt"), "one\r\n");
}

TEST_F(FileTable, NumberedFilesReturnTheirHandleAndGrowTheTable) {
    std::intptr_t handle = file_create(40, path("far.txt").c_str());
    EXPECT_NE(handle, 0);
    EXPECT_EQ(file_write_line(40, u"far"), 5);
    file_close(40);
    EXPECT_EQ(get("far.txt"), "far\r\n");
}

TEST_F(FileTable, DynamicNumbersAreDistinctAndIndependent) {
    std::intptr_t a = file_create(DYNAMIC_ID, path("a.txt").c_str());
    std::intptr_t b = file_create(DYNAMIC_ID, path("b.txt").c_str());
    ASSERT_NE(a, 0);
    ASSERT_NE(b, 0);
    EXPECT_NE(a, b);
    EXPECT_FALSE(a >= 0 && a < 16);  // never one of the numbered slots
    EXPECT_EQ(file_write_line(a, u"for a"), 7);
    EXPECT_EQ(file_write_line(b, u"for b"), 7);
    EXPECT_EQ(file_finish(a), 1);
    EXPECT_EQ(file_write_line(a, u"gone"), 0);
    EXPECT_EQ(file_write_line(b, u"still b"), 9);
    file_close(b);
    EXPECT_EQ(get("a.txt"), "for a\r\n");
    EXPECT_EQ(get("b.txt"), "for b\r\nstill b\r\n");
}

TEST_F(FileTable, FailedOpensReturnZero) {
    std::u16string missing_folder = path("no/such/folder/x.txt");
    EXPECT_EQ(file_create(DYNAMIC_ID, missing_folder.c_str()), 0);
    EXPECT_EQ(file_open(DYNAMIC_ID, missing_folder.c_str()), 0);
    EXPECT_EQ(file_create(2, missing_folder.c_str()), 0);
    EXPECT_EQ(file_eof(2), 0);
    EXPECT_EQ(file_create(2, nullptr), 0);
    EXPECT_EQ(file_open(0, path("").c_str()), 0);  // the folder itself is not a file
    EXPECT_EQ(file_create(-7, path("neg.txt").c_str()), 0);
    EXPECT_FALSE(exists("neg.txt"));
}

TEST_F(FileTable, AFailedOpenStillClosesTheFileUnderItsNumber) {
    ASSERT_NE(file_create(1, path("kept.txt").c_str()), 0);
    file_write_line(1, u"kept");
    EXPECT_EQ(file_open(1, path("no/such/x.txt").c_str()), 0);
    EXPECT_EQ(get("kept.txt"), "kept\r\n");
    EXPECT_EQ(file_write_line(1, u"more"), 0);
}

TEST_F(FileTable, NumbersWithoutAFileDoNothing) {
    for (ObjectNumber number : {ObjectNumber{0}, ObjectNumber{5}, ObjectNumber{1000}, ObjectNumber{-5},
                                ObjectNumber{123456789}}) {
        SCOPED_TRACE(number);
        EXPECT_EQ(read_line(number), u"");
        EXPECT_EQ(file_write_line(number, u"x"), 0);
        EXPECT_EQ(file_eof(number), 0);
        EXPECT_EQ(file_finish(number), 0);
        file_close(number);
    }
    // A closed number is dead too.
    ASSERT_NE(file_create(0, path("closed.txt").c_str()), 0);
    file_close(0);
    EXPECT_EQ(file_eof(0), 0);
    EXPECT_EQ(file_write_line(0, u"x"), 0);
    EXPECT_EQ(get("closed.txt"), "");
}

TEST_F(FileTable, CloseMinusOneClosesEveryFile) {
    ASSERT_NE(file_create(0, path("n0.txt").c_str()), 0);
    ASSERT_NE(file_create(7, path("n7.txt").c_str()), 0);
    std::intptr_t d = file_create(DYNAMIC_ID, path("d.txt").c_str());
    ASSERT_NE(d, 0);
    file_write_line(0, u"zero");
    file_write_line(7, u"seven");
    file_write_line(d, u"dynamic");
    file_close(-1);
    EXPECT_EQ(get("n0.txt"), "zero\r\n");
    EXPECT_EQ(get("n7.txt"), "seven\r\n");
    EXPECT_EQ(get("d.txt"), "dynamic\r\n");
    EXPECT_EQ(file_write_line(0, u"x"), 0);
    EXPECT_EQ(file_write_line(7, u"x"), 0);
    EXPECT_EQ(file_write_line(d, u"x"), 0);
}

TEST_F(FileTable, CloseAllEndsTheFamilyUntilItStartsAgain) {
    ASSERT_NE(file_create(0, path("end.txt").c_str()), 0);
    file_write_line(0, u"end");
    file_close_all();
    EXPECT_EQ(get("end.txt"), "end\r\n");
    EXPECT_EQ(file_create(0, path("after.txt").c_str()), 0);  // no table until file_init
    EXPECT_FALSE(exists("after.txt"));
    ASSERT_TRUE(file_init());
    EXPECT_NE(file_create(0, path("after.txt").c_str()), 0);
}

TEST_F(FileTable, ReadModeNeedsAnExistingFile) {
    EXPECT_EQ(file_open_mode(0, path("missing.txt").c_str(), FILE_MODE_READ, 0), 0);
    EXPECT_FALSE(exists("missing.txt"));
    put("there.txt", "line\n");
    ASSERT_NE(file_open_mode(0, path("there.txt").c_str(), FILE_MODE_READ, 0), 0);
    EXPECT_EQ(read_all_lines(0), u"line");
}

TEST_F(FileTable, OpenModeAtTheEndAppends) {
    put("log.txt", "a\r\n");
    ASSERT_NE(file_open_mode(0, path("log.txt").c_str(), FILE_MODE_OPEN, FILE_AT_END), 0);
    EXPECT_NE(file_eof(0), 0);
    file_write_line(0, u"b");
    file_close(0);
    EXPECT_EQ(get("log.txt"), "a\r\nb\r\n");

    ASSERT_NE(file_open_mode(0, path("log.txt").c_str(), FILE_MODE_OPEN, 0), 0);  // at the start
    file_write_line(0, u"c");
    file_close(0);
    EXPECT_EQ(get("log.txt"), "c\r\nb\r\n");

    ASSERT_NE(file_open_mode(0, path("log.txt").c_str(), FILE_MODE_CREATE, 0), 0);
    file_close(0);
    EXPECT_EQ(get("log.txt"), "");
}

TEST_F(FileTable, UnknownModesChangeNothing) {
    ASSERT_NE(file_create(0, path("live.txt").c_str()), 0);
    EXPECT_EQ(file_open_mode(0, path("other.txt").c_str(), 0, 0), 0);
    EXPECT_EQ(file_open_mode(0, path("other.txt").c_str(), 5, 0), 0);
    EXPECT_FALSE(exists("other.txt"));
    EXPECT_EQ(file_write_line(0, u"still open"), 12);
}

TEST_F(FileTable, ReadOnlyFilesDoNotOpen) {
    put("locked.m3u", "row\r\n");
    make_read_only(fs_path("locked.m3u"));
    if (writable_anyway(fs_path("locked.m3u"))) {
        make_writable(fs_path("locked.m3u"));
        GTEST_SKIP() << "this process may write read-only files (it runs as root), "
                        "so there is no read-only file to test with";
    }
    EXPECT_EQ(file_open(0, path("locked.m3u").c_str()), 0);
    EXPECT_FALSE(error_text().empty());
    EXPECT_EQ(file_create(0, path("locked.m3u").c_str()), 0);  // no write access at all
    ASSERT_NE(file_open_mode(0, path("locked.m3u").c_str(), FILE_MODE_READ, 0), 0);
    EXPECT_EQ(read_all_lines(0), u"row");
    file_close(0);
    make_writable(fs_path("locked.m3u"));
    EXPECT_EQ(get("locked.m3u"), "row\r\n");
}

#ifdef _WIN32

// Sharing modes are a Windows matter; POSIX has no counterpart.

HANDLE open_raw(const std::u16string& path, DWORD access, DWORD share) {
    return CreateFileW(reinterpret_cast<const wchar_t*>(path.c_str()), access, share, nullptr,
                       OPEN_EXISTING, 0, nullptr);
}

TEST_F(FileTable, AFileLockedByAnotherProgramDoesNotOpen) {
    put("busy.m3u", "row\r\n");
    HANDLE other = open_raw(path("busy.m3u"), GENERIC_READ, 0);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    EXPECT_EQ(file_open(0, path("busy.m3u").c_str()), 0);
    EXPECT_EQ(file_create(0, path("busy.m3u").c_str()), 0);
    CloseHandle(other);
    EXPECT_EQ(get("busy.m3u"), "row\r\n");
    EXPECT_NE(file_open(0, path("busy.m3u").c_str()), 0);
}

TEST_F(FileTable, CreateFallsBackToWriteOnlyTruncation) {
    // Another reader that lets others write but not read: the read-write
    // attempt fails, the write-only retry replaces the contents.
    put("shared.m3u", "previous contents\r\n");
    HANDLE other = open_raw(path("shared.m3u"), GENERIC_READ, FILE_SHARE_WRITE);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    ASSERT_NE(file_create(0, path("shared.m3u").c_str()), 0);
    EXPECT_EQ(file_write_line(0, u"new"), 5);
    EXPECT_EQ(file_finish(0), 1);
    char bytes[64] = {};
    DWORD got = 0;
    ReadFile(other, bytes, sizeof bytes, &got, nullptr);
    CloseHandle(other);
    EXPECT_EQ(std::string(bytes, got), "new\r\n");
}

TEST_F(FileTable, ShareFlagsLetOthersIn) {
    put("s.txt", "x\n");
    ASSERT_NE(file_open_mode(0, path("s.txt").c_str(), FILE_MODE_OPEN, 0), 0);
    EXPECT_EQ(open_raw(path("s.txt"), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE),
              INVALID_HANDLE_VALUE);
    ASSERT_NE(file_open_mode(0, path("s.txt").c_str(), FILE_MODE_OPEN,
                             FILE_SHARE_READING | FILE_SHARE_WRITING), 0);
    HANDLE other = open_raw(path("s.txt"), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
    EXPECT_NE(other, INVALID_HANDLE_VALUE);
    CloseHandle(other);
}

#else

TEST_F(FileTable, CreateFallsBackToWriteOnlyTruncation) {
    // A file its owner may write but not read.
    put("wo.m3u", "previous contents\r\n");
    ASSERT_EQ(chmod(fs_path("wo.m3u").c_str(), 0222), 0);
    if (std::ifstream(fs_path("wo.m3u")).good()) {
        chmod(fs_path("wo.m3u").c_str(), 0644);
        GTEST_SKIP() << "this process may read unreadable files (it runs as root), "
                        "so the read-write attempt cannot fail";
    }
    ASSERT_NE(file_create(0, path("wo.m3u").c_str()), 0);
    EXPECT_EQ(file_write_line(0, u"new"), 5);
    EXPECT_EQ(file_finish(0), 1);
    chmod(fs_path("wo.m3u").c_str(), 0644);
    EXPECT_EQ(get("wo.m3u"), "new\r\n");
}

TEST_F(FileTable, NamesThatAreNotUtf8OpenAndCreateByTheBytesTheSystemGives) {
    // A Latin-1 name from an old card, an encoded surrogate, and a real letter.
    const std::string old_name = "r\xE9sum\xE9 \xED\xB2\x80 \xC3\xA4.m3u";
    put(old_name, "line\r\n");
    const std::string bytes = fs_path(old_name).string();
    const std::u16string text = path_text_of(bytes);
    EXPECT_EQ(text.substr(text.size() - 16), u"r\xDCE9sum\xDCE9 \xDCED\xDCB2\xDC80 \u00E4.m3u");
    EXPECT_EQ(path_bytes_of(text.c_str()), bytes);
    ASSERT_NE(file_open(0, text.c_str()), 0);
    EXPECT_EQ(read_line(0), u"line");
    EXPECT_EQ(file_finish(0), 1);

    const std::u16string made = path_text_of(fs_path("new\xFF.m3u").string());
    ASSERT_NE(file_create(1, made.c_str()), 0);
    EXPECT_EQ(file_finish(1), 1);
    EXPECT_TRUE(exists("new\xFF.m3u"));
    // A surrogate that stands for no byte has no name of its own.
    EXPECT_EQ(path_bytes_of(u"a\xD800" u"b"), "a\xEF\xBF\xBD" "b");
}

#endif

TEST_F(FileTable, ErrorTextTellsWhyTheLastOperationFailed) {
    EXPECT_EQ(file_create(0, path("no/such/folder/x.txt").c_str()), 0);
    std::u16string missing = error_text();
    EXPECT_FALSE(missing.empty());
    put("x.txt", "x");
    ASSERT_NE(file_open_mode(0, path("x.txt").c_str(), FILE_MODE_READ, 0), 0);
    EXPECT_EQ(file_write_line(0, std::u16string(FILE_BUFFER_SIZE + 904, u'w').c_str()), 0);
    std::u16string denied = error_text();
    EXPECT_FALSE(denied.empty());
    EXPECT_NE(denied, missing);
    // The text is built like any other: at the position, which ends after it.
    int mark = text_builder_mark();
    char16_t* text = file_error_text();
    EXPECT_EQ(text, text_builder_address(mark));
    EXPECT_EQ(text_builder_mark(), mark + 2 * static_cast<int>(denied.size()));
    text_builder_rewind(mark);
}

TEST(FileName, EmptyControlAndReservedCharactersAreInvalid) {
    EXPECT_EQ(file_name_valid(nullptr), 0);
    EXPECT_EQ(file_name_valid(u""), 0);
    for (char16_t c : std::u16string(u"\"\\/:*?<>|")) {
        std::u16string name = u"a" + std::u16string(1, c) + u"b";
        EXPECT_EQ(file_name_valid(name.c_str()), 0) << static_cast<int>(c);
    }
    for (char16_t c = 1; c < 32; ++c) {
        std::u16string name = u"a" + std::u16string(1, c);
        EXPECT_EQ(file_name_valid(name.c_str()), 0) << static_cast<int>(c);
    }
    EXPECT_EQ(file_name_valid(u"Playlist.m3u"), 1);
    EXPECT_EQ(file_name_valid(u" spaced name (1).m3u"), 1);
    EXPECT_EQ(file_name_valid(u"Καλημέρα 音楽 \U0001F3B5"), 1);
    EXPECT_EQ(file_name_valid(u"..."), 1);
}

}  // namespace
