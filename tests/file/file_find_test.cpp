// Look-ups of a player's files: what a path names, a path found in any
// letter case, spelled as stored, and the names of a folder with their kinds.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

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

    // The folder's names with their kinds, by name; fails the test on a
    // listing that fails.
    std::map<std::u16string, int> listed(const std::u16string& folder) {
        std::vector<FileFolderEntry> entries;
        EXPECT_EQ(file_list_folder(folder.c_str(), entries), 1);
        std::map<std::u16string, int> names;
        for (const FileFolderEntry& entry : entries) EXPECT_TRUE(names.emplace(entry.name, entry.kind).second);
        return names;
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

TEST_F(FileFind, AFolderListsEachOfItsManyNamesOnceWithItsKind) {
    std::map<std::u16string, int> expected;
    std::filesystem::create_directories(fs_path("Music"));
    for (int i = 0; i < 3000; ++i) {
        const std::string name = "Track " + std::to_string(i) + ".mp3";
        put("Music/" + name, "song");
        expected[std::u16string(name.begin(), name.end())] = FILE_KIND_FILE;
    }
    // A folder named as a song is no song.
    std::filesystem::create_directories(fs_path("Music/Album.mp3"));
    expected[u"Album.mp3"] = FILE_KIND_FOLDER;
    EXPECT_EQ(listed(path("Music")), expected);
    EXPECT_EQ(listed((fs_path("Music") / "").u16string()), expected);
    EXPECT_TRUE(listed(path("Music/Album.mp3")).empty());
}

TEST_F(FileFind, NamesAreListedAsStoredInTheirOwnLetters) {
    put("Song.mp3", "song");
    std::ofstream(std::filesystem::path(u8_path("\xC3\x84rtist \xE6\x97\xA5\xE6\x9C\xAC.mp3"))) << "song";
    std::map<std::u16string, int> expected{{u"Song.mp3", FILE_KIND_FILE},
                                           {u"\u00C4rtist \u65E5\u672C.mp3", FILE_KIND_FILE}};  // "Ärtist 日本.mp3"
#if !defined(_WIN32)
    // Names that differ in letter case only are two files here.
    put("SONG.MP3", "song");
    expected[u"SONG.MP3"] = FILE_KIND_FILE;
#endif
    EXPECT_EQ(listed(path("")), expected);
}

TEST_F(FileFind, AMissingFolderOrAFileListsNothingAndSaysWhy) {
    put("a.mp3", "song");
    for (const std::u16string& folder : {path("Nothing"), path("a.mp3"), std::u16string()}) {
        std::vector<FileFolderEntry> entries{{u"left over", FILE_KIND_FILE}};
        EXPECT_EQ(file_list_folder(folder.c_str(), entries), 0);
        EXPECT_TRUE(entries.empty());
        EXPECT_FALSE(error_text().empty());
    }
    std::vector<FileFolderEntry> entries;
    EXPECT_EQ(file_list_folder(nullptr, entries), 0);
}

TEST_F(FileFind, AFolderRemovedWhileListedListsOnlyWhatWasThere) {
    std::filesystem::create_directories(fs_path("Music"));
    for (int i = 0; i < 2000; ++i) put("Music/" + std::to_string(i) + ".mp3", "song");
    std::atomic<bool> gone{false};
    // Windows refuses to remove a folder someone has open, as a listing has
    // it for a moment: the remover tries again, as a person would.
    std::thread remover([this, &gone] {
        std::error_code ignored;
        for (int tries = 0; tries < 1000 && std::filesystem::exists(fs_path("Music")); ++tries) {
            std::filesystem::remove_all(fs_path("Music"), ignored);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        gone = true;
    });
    int listings = 0;
    for (bool last = false; !last; ++listings) {
        last = gone;
        std::vector<FileFolderEntry> entries;
        if (file_list_folder(path("Music").c_str(), entries) == 0) {
            EXPECT_TRUE(entries.empty());
            continue;
        }
        EXPECT_LE(entries.size(), 2000u);
        for (const FileFolderEntry& entry : entries) {
            const std::u16string number = entry.name.substr(0, entry.name.size() - 4);
            ASSERT_TRUE(entry.name.ends_with(u".mp3") && !number.empty() &&
                        number.find_first_not_of(u"0123456789") == std::u16string::npos)
                << "a name that was never there";
        }
    }
    remover.join();
    std::vector<FileFolderEntry> entries;
    EXPECT_EQ(file_list_folder(path("Music").c_str(), entries), 0) << "after " << listings << " listings";
}

#if !defined(_WIN32)

TEST_F(FileFind, ALinkIsListedAsWhatItLeadsTo) {
    put("a.mp3", "song");
    std::filesystem::create_directories(fs_path("Music"));
    std::filesystem::create_symlink("a.mp3", fs_path("to a file"));
    std::filesystem::create_symlink("Music", fs_path("to a folder"));
    std::filesystem::create_symlink("nothing", fs_path("to nothing"));
    EXPECT_EQ(listed(path("")), (std::map<std::u16string, int>{{u"a.mp3", FILE_KIND_FILE},
                                                                {u"Music", FILE_KIND_FOLDER},
                                                                {u"to a file", FILE_KIND_FILE},
                                                                {u"to a folder", FILE_KIND_FOLDER},
                                                                {u"to nothing", FILE_KIND_NONE}}));
}

// What another user's listing of a folder gives: 0 when refused as it should
// be, else what went wrong.
int listing_refused(void* folder) {
    std::vector<FileFolderEntry> entries;
    if (file_list_folder(static_cast<std::u16string*>(folder)->c_str(), entries) != 0) return 1;
    return entries.empty() && error_text() == u"Permission denied" ? 0 : 2;
}

TEST_F(FileFind, AFolderThisUserMayNotReadOrSearchListsNothing) {
    if (geteuid() != 0) GTEST_SKIP() << "acting as a user without rights to a folder needs root";
    ASSERT_EQ(chmod(fs_path("").c_str(), 0755), 0);
    for (const auto& [name, mode] : {std::pair{"unreadable", 0311}, std::pair{"unsearchable", 0666}}) {
        SCOPED_TRACE(name);
        std::filesystem::create_directories(fs_path(name));
        put(std::string(name) + "/a.mp3", "song");
        ASSERT_EQ(chmod(fs_path(name).c_str(), mode), 0);
        std::u16string folder = path(name);
        EXPECT_EQ(as_another_user(listing_refused, &folder), 0);
    }
}

#endif

}  // namespace
