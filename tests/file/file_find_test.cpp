// Look-ups of a player's files: what a path names, and a path found in any
// letter case, spelled as stored.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "runtime/file/file.h"
#include "runtime/text/text.h"
#include "tests/file/file_test_support.h"

namespace {

class FileFind : public FileTest {
protected:
    // Names given in UTF-8, whatever the system's code page.
    std::u16string u8_path(const char* name) const { return (fs_path("") / std::filesystem::u8path(name)).u16string(); }

    std::u16string found(const std::u16string& wanted) {
        int mark = text_builder_mark();
        std::u16string text = file_find_ignoring_case(wanted.c_str(), -1);
        text_builder_rewind(mark);
        return text;
    }
};

TEST_F(FileFind, KindsOfNames) {
    std::filesystem::create_directories(fs_path("Music"));
    put("Music/a.mp3", "song");
    EXPECT_EQ(file_kind(path("Music/a.mp3").c_str()), FILE_KIND_FILE);
    EXPECT_EQ(file_kind(path("Music").c_str()), FILE_KIND_FOLDER);
    EXPECT_EQ(file_kind(path("Music/b.mp3").c_str()), FILE_KIND_NONE);
    EXPECT_EQ(file_kind(u""), FILE_KIND_NONE);
    EXPECT_EQ(file_kind(nullptr), FILE_KIND_NONE);
}

TEST_F(FileFind, NamesInOtherLettersAreFoundAsStored) {
    const std::u16string stored = u8_path("Music/\xC3\x84rtist/Song.mp3");  // "Ärtist"
    std::filesystem::create_directories(std::filesystem::path(stored).parent_path());
    std::ofstream(std::filesystem::path(stored)) << "song";
    EXPECT_EQ(found(stored), stored);
    EXPECT_EQ(found(u8_path("MUSIC/\xC3\xA4RTIST/song.MP3")), stored);
    EXPECT_EQ(found(path("music")), path("Music"));
    EXPECT_EQ(found(u8_path("Music/\xC3\x84rtist/other.mp3")), u"");
    EXPECT_EQ(found(path("Nothing/Song.mp3")), u"");
    EXPECT_EQ(found(u""), u"");
}

TEST_F(FileFind, ALookUpTellsWhatItFoundNames) {
    std::filesystem::create_directories(fs_path("Music"));
    put("Music/a.mp3", "song");
    auto kind_found = [](const std::u16string& wanted) {
        int kind = -1;
        int mark = text_builder_mark();
        file_find_ignoring_case(wanted.c_str(), -1, &kind);
        text_builder_rewind(mark);
        return kind;
    };
    EXPECT_EQ(kind_found(path("Music/a.mp3")), FILE_KIND_FILE);
    EXPECT_EQ(kind_found(path("MUSIC/A.MP3")), FILE_KIND_FILE);
    EXPECT_EQ(kind_found(path("music")), FILE_KIND_FOLDER);
    EXPECT_EQ(kind_found(path("Music/b.mp3")), FILE_KIND_NONE);
    EXPECT_EQ(kind_found(u""), FILE_KIND_NONE);
}

TEST_F(FileFind, ANameAddedAfterALookUpIsFound) {
    std::filesystem::create_directories(fs_path("Music"));
    put("Music/a.mp3", "song");
    EXPECT_EQ(found(path("MUSIC/A.MP3")), path("Music/a.mp3"));
    EXPECT_EQ(found(path("MUSIC/B.MP3")), u"");
    put("Music/b.mp3", "song");
    EXPECT_EQ(found(path("MUSIC/B.MP3")), path("Music/b.mp3"));
    std::filesystem::remove(fs_path("Music/a.mp3"));
    EXPECT_EQ(found(path("MUSIC/A.MP3")), u"");
}

}  // namespace
