// The file name and extension of a path's last component.
#include <string>

#include "tests/text/text_test_support.h"

namespace {
std::u16string file_part(const char16_t* path) {
    return result_of([&](int position) { return path_file_part(path, position); });
}

std::u16string extension(const char16_t* path) {
    return result_of([&](int position) { return path_extension_part(path, position); });
}
}  // namespace

TEST(PathFilePart, TakesWhatFollowsTheLastSeparator) {
    EXPECT_EQ(file_part(u"C:\\Music\\song.mp3"), u"song.mp3");
    EXPECT_EQ(file_part(u"/Music/Album/song.mp3"), u"song.mp3");
    EXPECT_EQ(file_part(u"C:/Music\\mixed/song.mp3"), u"song.mp3");
    EXPECT_EQ(file_part(u"song.mp3"), u"song.mp3");
    EXPECT_EQ(file_part(u"C:\\Music\\"), u"");
    EXPECT_EQ(file_part(u""), u"");
    EXPECT_EQ(file_part(nullptr), u"");
}

TEST(PathFilePart, StopsAtAQuote) {
    EXPECT_EQ(file_part(u"\"C:\\Music\\song.mp3\""), u"song.mp3");
    EXPECT_EQ(file_part(u"\"song.mp3\""), u"song.mp3");
    EXPECT_EQ(file_part(u"\"song.mp3"), u"song.mp3");
    EXPECT_EQ(file_part(u"C:\\a\\b.mp3\" -x"), u"b.mp3");
}

TEST(PathExtensionPart, TakesWhatFollowsTheLastDotOfTheLastComponent) {
    EXPECT_EQ(extension(u"list.m3u"), u"m3u");
    EXPECT_EQ(extension(u"archive.tar.gz"), u"gz");
    EXPECT_EQ(extension(u"C:\\dir.x\\file"), u"");
    EXPECT_EQ(extension(u"/dir.x/file"), u"");
    EXPECT_EQ(extension(u"file."), u"");
    EXPECT_EQ(extension(u"file"), u"");
    EXPECT_EQ(extension(u"C:\\Music\\song.mp3"), u"mp3");
    EXPECT_EQ(extension(u"\"C:\\Music\\song.mp3\""), u"mp3");
    EXPECT_EQ(extension(u""), u"");
    EXPECT_EQ(extension(nullptr), u"");
}

TEST(PathExtensionPart, KeepsTheLetterCase) {
    std::u16string found = extension(u"x.M3U");
    EXPECT_EQ(found, u"M3U");
    EXPECT_EQ(text_equal(found.c_str(), u"m3u"), 0);
}
