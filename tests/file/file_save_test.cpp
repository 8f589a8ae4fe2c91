// Saving over a file in one step: the new file beside the target, what it
// takes from the target, and when the target may not be replaced.
#include <filesystem>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "runtime/file/file.h"
#include "tests/file/file_test_support.h"

namespace {

using FileSave = FileTest;

// The names in the test's folder, but the ones given.
std::vector<std::string> others_in(const std::filesystem::path& folder, std::vector<std::string> known) {
    std::vector<std::string> others;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::string name = entry.path().filename().string();
        if (std::find(known.begin(), known.end(), name) == known.end()) others.push_back(name);
    }
    return others;
}

TEST_F(FileSave, TheTargetChangesOnlyWhenTheNewFileIsFinished) {
    put("list.m3u", "old\r\n");
    ASSERT_NE(file_create_replacing(0, path("list.m3u").c_str()), 0);
    EXPECT_EQ(file_write_line(0, u"new"), 5);
    // Meanwhile the new file lies beside the target, named no longer than it.
    std::vector<std::string> beside = others_in(fs_path(""), {"list.m3u"});
    ASSERT_EQ(beside.size(), 1u);
    EXPECT_LE(beside[0].size(), std::string("list.m3u").size());
    EXPECT_EQ(get("list.m3u"), "old\r\n");
    EXPECT_EQ(file_finish(0), 1);
    EXPECT_EQ(get("list.m3u"), "new\r\n");
    EXPECT_TRUE(others_in(fs_path(""), {"list.m3u"}).empty());

    // A new target, and a name of one character.
    ASSERT_NE(file_create_replacing(1, path("a").c_str()), 0);
    EXPECT_EQ(file_finish(1), 1);
    EXPECT_EQ(get("a"), "");
    EXPECT_EQ(file_create_replacing(1, nullptr), 0);
    EXPECT_EQ(file_create_replacing(1, u""), 0);
    EXPECT_EQ(file_create_replacing(1, path("no folder/x.m3u").c_str()), 0);
    EXPECT_FALSE(error_text().empty());
}

TEST_F(FileSave, ClosedWithoutFinishingTheTargetStaysAsItWas) {
    put("list.m3u", "old\r\n");
    ASSERT_NE(file_create_replacing(0, path("list.m3u").c_str()), 0);
    file_write_line(0, u"half");
    file_close(0);
    EXPECT_EQ(get("list.m3u"), "old\r\n");
    ASSERT_NE(file_create_replacing(0, path("list.m3u").c_str()), 0);
    file_write_line(0, u"half");
    file_close_all();  // as at the end of the program
    ASSERT_TRUE(file_init());
    EXPECT_EQ(get("list.m3u"), "old\r\n");
    EXPECT_TRUE(others_in(fs_path(""), {"list.m3u"}).empty());
}

TEST_F(FileSave, AFileFoundByANameInAnotherCaseKeepsItsOwnName) {
    put("Mixed Case.m3u", "old\r\n");
    // What a player's file system answers for the name typed in other case.
    std::u16string typed = path("MIXED CASE.M3U");
#ifndef _WIN32
    // This file system keeps case: a link stands for the player's answer.
    std::filesystem::create_symlink("Mixed Case.m3u", fs_path("MIXED CASE.M3U"));
    typed = path("MIXED CASE.M3U");
#endif
    ASSERT_NE(file_create_replacing(0, typed.c_str()), 0);
    file_write_line(0, u"new");
    ASSERT_EQ(file_finish(0), 1);
    EXPECT_EQ(get("Mixed Case.m3u"), "new\r\n");
    bool typed_spelling_stored = false;
    for (const auto& entry : std::filesystem::directory_iterator(fs_path("")))
        typed_spelling_stored |= entry.path().filename() == "MIXED CASE.M3U" && !entry.is_symlink();
    EXPECT_FALSE(typed_spelling_stored);
}

TEST_F(FileSave, TheNewFileKeepsTheTargetsAttributes) {
    put("kept.m3u", "old\r\n");
#ifdef _WIN32
    ASSERT_TRUE(SetFileAttributesW(fs_path("kept.m3u").c_str(), FILE_ATTRIBUTE_HIDDEN));
#else
    ASSERT_EQ(chmod(fs_path("kept.m3u").c_str(), 0640), 0);
    // The owner and group too, where this user may give them (root may).
    const bool root = geteuid() == 0;
    if (root) {
        ASSERT_EQ(chown(fs_path("kept.m3u").c_str(), 1234, 4321), 0);
    }
#endif
    ASSERT_NE(file_create_replacing(0, path("kept.m3u").c_str()), 0);
    file_write_line(0, u"new");
    ASSERT_EQ(file_finish(0), 1);
    EXPECT_EQ(get("kept.m3u"), "new\r\n");
#ifdef _WIN32
    EXPECT_NE(GetFileAttributesW(fs_path("kept.m3u").c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    SetFileAttributesW(fs_path("kept.m3u").c_str(), FILE_ATTRIBUTE_NORMAL);
#else
    struct stat about {};
    ASSERT_EQ(stat(fs_path("kept.m3u").c_str(), &about), 0);
    EXPECT_EQ(about.st_mode & 07777, 0640u);
    if (root) {
        EXPECT_EQ(about.st_uid, 1234u);
        EXPECT_EQ(about.st_gid, 4321u);
    }
    // A new file gets what any created file gets.
    const mode_t mask = umask(027);
    ASSERT_NE(file_create_replacing(0, path("fresh.m3u").c_str()), 0);
    EXPECT_EQ(file_finish(0), 1);
    umask(mask);
    ASSERT_EQ(stat(fs_path("fresh.m3u").c_str(), &about), 0);
    EXPECT_EQ(about.st_mode & 07777, 0640u);
#endif
}

#ifdef _WIN32

TEST_F(FileSave, AReadOnlyTargetIsRefused) {
    put("locked.m3u", "old\r\n");
    make_read_only(fs_path("locked.m3u"));
    EXPECT_EQ(file_create_replacing(0, path("locked.m3u").c_str()), 0);
    EXPECT_FALSE(error_text().empty());
    make_writable(fs_path("locked.m3u"));
    EXPECT_EQ(get("locked.m3u"), "old\r\n");
    EXPECT_TRUE(others_in(fs_path(""), {"locked.m3u"}).empty());
}

#else

TEST_F(FileSave, ThroughASymbolicLinkTheLinkedFileChangesAndTheLinkStays) {
    std::filesystem::create_directories(fs_path("music/lists"));
    put("music/lists/real.m3u", "old\r\n");
    std::filesystem::create_symlink("music/lists/real.m3u", fs_path("relative.m3u"));
    std::filesystem::create_symlink(fs_path("relative.m3u"), fs_path("absolute.m3u"));
    ASSERT_NE(file_create_replacing(0, path("absolute.m3u").c_str()), 0);
    file_write_line(0, u"new");
    ASSERT_EQ(file_finish(0), 1);
    EXPECT_TRUE(std::filesystem::is_symlink(fs_path("absolute.m3u")));
    EXPECT_TRUE(std::filesystem::is_symlink(fs_path("relative.m3u")));
    EXPECT_EQ(get("music/lists/real.m3u"), "new\r\n");
    // The new file was made beside the real one, not beside the link.
    EXPECT_TRUE(others_in(fs_path(""), {"music", "relative.m3u", "absolute.m3u"}).empty());
    EXPECT_TRUE(others_in(fs_path("music/lists"), {"real.m3u"}).empty());

    // A link to a file not there yet makes that file.
    std::filesystem::create_symlink("music/lists/later.m3u", fs_path("later.m3u"));
    ASSERT_NE(file_create_replacing(0, path("later.m3u").c_str()), 0);
    file_write_line(0, u"first");
    ASSERT_EQ(file_finish(0), 1);
    EXPECT_TRUE(std::filesystem::is_symlink(fs_path("later.m3u")));
    EXPECT_EQ(get("music/lists/later.m3u"), "first\r\n");

    // Links in a circle lead to no file.
    std::filesystem::create_symlink("circle-b", fs_path("circle-a"));
    std::filesystem::create_symlink("circle-a", fs_path("circle-b"));
    EXPECT_EQ(file_create_replacing(0, path("circle-a").c_str()), 0);
    EXPECT_TRUE(std::filesystem::is_symlink(fs_path("circle-a")));
}

TEST_F(FileSave, AFileWithHardLinksIsRefusedWithItsReason) {
    put("one.m3u", "old\r\n");
    std::filesystem::create_hard_link(fs_path("one.m3u"), fs_path("two.m3u"));
    EXPECT_EQ(file_create_replacing(0, path("one.m3u").c_str()), 0);
    EXPECT_NE(error_text().find(u"hard links"), std::u16string::npos);
    EXPECT_EQ(get("one.m3u"), "old\r\n");
    EXPECT_EQ(std::filesystem::hard_link_count(fs_path("one.m3u")), 2u);
    EXPECT_TRUE(others_in(fs_path(""), {"one.m3u", "two.m3u"}).empty());
}

// What another user's save of a file tells: 0 when refused as it should be,
// the target untouched; else what went wrong.
struct Refusal {
    std::u16string target;
    std::filesystem::path check;
};
int save_refused(void* context) {
    const auto& refusal = *static_cast<Refusal*>(context);
    if (file_create_replacing(0, refusal.target.c_str()) != 0) return file_finish(0) ? 1 : 2;
    return error_text() == u"Permission denied" ? 0 : 3;
}

TEST_F(FileSave, AFileThisUserMayNotWriteIsRefused) {
    if (geteuid() != 0) GTEST_SKIP() << "acting as a user without rights to a file needs root";
    // Everyone may make files in the folder: only the file itself says no.
    ASSERT_EQ(chmod(fs_path("").c_str(), 0777), 0);
    put("mine-read-only.m3u", "old\r\n");
    ASSERT_EQ(chmod(fs_path("mine-read-only.m3u").c_str(), 0444), 0);
    if (geteuid() == 0) {
        ASSERT_EQ(chown(fs_path("mine-read-only.m3u").c_str(), 65534, 65534), 0);
    }
    put("root's.m3u", "old\r\n");
    ASSERT_EQ(chmod(fs_path("root's.m3u").c_str(), 0644), 0);
    for (const char* name : {"mine-read-only.m3u", "root's.m3u"}) {
        SCOPED_TRACE(name);
        Refusal refusal{path(name), fs_path(name)};
        EXPECT_EQ(as_another_user(save_refused, &refusal), 0);
        EXPECT_EQ(get(name), "old\r\n");
    }
    EXPECT_TRUE(others_in(fs_path(""), {"mine-read-only.m3u", "root's.m3u"}).empty());
}

#endif

}  // namespace
