// Reading the URI lists that X drops bring: every entry a local file, or the
// whole list refused. Each list is copied into memory of exactly its size,
// so that a read past its end is caught.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "runtime/gui/drop_file_list.h"
#include "runtime/gui/drop_uri_list.h"

namespace {

constexpr char HOST[] = "studio-pc";

struct Read {
    bool accepted;
    std::vector<std::u16string> names;
};

// The names of the block the list gives, as the drop service reads them.
Read read(const std::string& list) {
    std::unique_ptr<char[]> exact(new char[list.size() + 1]);
    std::memcpy(exact.get(), list.data(), list.size());
    std::size_t size = 123;
    void* block = drop_uri_list_files(exact.get(), list.size(), HOST, &size);
    if (!block) {
        EXPECT_EQ(size, 0u);
        return {false, {}};
    }
    Read result{true, {}};
    DropFileList files{};
    EXPECT_TRUE(drop_file_list_check(block, size, &files));
    EXPECT_TRUE(files.wide);
    const auto* bytes = static_cast<const unsigned char*>(block);
    std::size_t at = files.first;
    for (std::size_t i = 0; i < files.count; ++i) {
        const std::size_t start = at;
        const std::size_t length = drop_file_list_next(block, size, files, &at);
        std::u16string name(length, u'\0');
        std::memcpy(name.data(), bytes + start, length * sizeof(char16_t));
        result.names.push_back(name);
    }
    std::free(block);
    return result;
}

TEST(DropUriListTest, ListsOfLocalFilesBecomeTheirPathsInOrder) {
    const struct {
        const char* what;
        std::string list;
        std::vector<std::u16string> names;
    } cases[] = {
        {"unescaped", "file:///music/a.mp3\r\nfile:///music/Zwei%20%C3%A4%C3%B6.ogg\r\n"
                      "file:///%E9%9F%B3%E6%A5%BD/%F0%9F%8E%B5%25.flac\r\n",
         {u"/music/a.mp3", u"/music/Zwei \u00e4\u00f6.ogg", u"/\u97f3\u697d/\U0001F3B5%.flac"}},
        // A Latin-1 name, UTF-8 cut short, an encoded surrogate: each stray byte
        // is carried as the runtime's paths carry it, so the file opens again.
        {"not UTF-8", "file:///b%FF.mp3\r\nfile:///b%C3.mp3\r\nfile:///b%ED%A0%80.mp3\r\n",
         {u"/b\xDCFF.mp3", u"/b\xDCC3.mp3", u"/b\xDCED\xDCA0\xDC80.mp3"}},
        {"this computer's names and the short form",
         "file://localhost/a.mp3\r\nFILE://LocalHost/b.mp3\r\nfile://Studio-PC/c.mp3\r\nfile:/d.mp3\r\n",
         {u"/a.mp3", u"/b.mp3", u"/c.mp3", u"/d.mp3"}},
        {"comments, blank lines, any line end and closing nulls",
         "# from the file manager\r\n\r\n  file:///a.mp3\t\nfile:///b.mp3\rfile:///c.mp3" + std::string(2, '\0'),
         {u"/a.mp3", u"/b.mp3", u"/c.mp3"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Read got = read(c.list);
        ASSERT_TRUE(got.accepted);
        EXPECT_EQ(got.names, c.names);
    }
}

TEST(DropUriListTest, AListWithoutFilesIsRefused) {
    EXPECT_FALSE(read("").accepted);
    EXPECT_FALSE(read("# nothing\r\n\r\n").accepted);
}

// One bad entry among good ones refuses them all.
TEST(DropUriListTest, AnyEntryThatIsNoLocalFileRefusesTheWholeList) {
    const char* bad[] = {
        "http://host/a.mp3",          // not a file
        "/music/b.mp3",               // a path, not a URI
        "just some words",            // not a URI at all
        "file:music/b.mp3",           // no absolute path
        "file://studio-pc",           // a host and no path
        "file://other-pc/b.mp3",      // another computer's file
        "file://studio-pc.evil/b.mp3",
        "file:///b%G1.mp3",           // not hex
        "file:///b%4",                // cut short
        "file:///b%",                 // cut shorter
        "file:///b%00.mp3",           // a null inside a name
        "file:///a%2Fb.mp3",          // a "/" that is no separator
        "file:///b.mp3?x=1",          // a query
        "file:///b.mp3#part",         // a fragment
        "file:///b\x01.mp3",          // a control character
        // Escaped line ends: names go on joined by line feeds, where one
        // would name a different file, or save as two lines.
        "file:///a%0Ab.mp3",
        "file:///a%0Db.mp3",
        "file:///a%0d%0a",
        "file:///a%7F.mp3",
    };
    for (const char* entry : bad) {
        SCOPED_TRACE(entry);
        EXPECT_FALSE(read(std::string("file:///a.mp3\r\n") + entry + "\r\nfile:///c.mp3\r\n").accepted);
        EXPECT_FALSE(read(entry).accepted);
    }
}

TEST(DropUriListTest, ANullInsideTheListRefusesIt) {
    EXPECT_FALSE(read("file:///a.mp3\r\n" + std::string(1, '\0') + "file:///c.mp3\r\n").accepted);
}

TEST(DropUriListTest, TwentyThousandFilesKeepTheirOrder) {
    std::string list;
    std::vector<std::u16string> expected;
    for (int i = 0; i < 20000; ++i) {
        const std::string number = std::to_string(i);
        list += "file:///Music/Some%20Artist/Track%20" + number + ".mp3\r\n";
        expected.push_back(u"/Music/Some Artist/Track " + std::u16string(number.begin(), number.end()) + u".mp3");
    }
    const Read got = read(list);
    ASSERT_TRUE(got.accepted);
    EXPECT_EQ(got.names, expected);
}

}  // namespace
