// Volumes: the mount table's reading everywhere, and where the platform says
// a path's volume starts.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/file/file.h"
#include "runtime/file/mount_table.h"
#include "tests/file/file_test_support.h"

#if !defined(_WIN32)
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

namespace {

const char table[] =
    "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
    "25 22 0:21 / /proc rw,nosuid - proc proc rw\n"
    "61 22 8:17 / /media/me/MY\\040PLAYER rw,nosuid shared:30 - vfat /dev/sdb1 rw,uid=1000\n"
    "62 22 0:45 / /media/me/MY rw - tmpfs tmpfs rw\n"
    "63 61 0:46 / /media/me/MY\\040PLAYER/Inner rw - tmpfs tmpfs rw\n"
    "64 22 0:47 / /back\\134slash rw - tmpfs tmpfs rw\n"
    "65 22 8:17 /Music/Rock\\040Songs /home/me/rock rw - vfat /dev/sdb1 rw\n";

TEST(MountTable, TheLongestMountPointThatHoldsThePathWins) {
    const struct {
        const char* path;
        const char* mount_point;
    } cases[] = {
        {"/media/me/MY PLAYER/Music/a.mp3", "/media/me/MY PLAYER"},
        {"/media/me/MY PLAYER", "/media/me/MY PLAYER"},
        {"/media/me/MY PLAYER/Inner/b.mp3", "/media/me/MY PLAYER/Inner"},
        {"/media/me/MY/c.mp3", "/media/me/MY"},
        // A longer name that only starts like a mount point is not inside it.
        {"/media/me/MYSELF/d.mp3", "/"},
        {"/procfile", "/"},
        {"/back\\slash/e.mp3", "/back\\slash"},
        {"relative/path", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(mount_point_holding(mount_points_of(table), c.path).path, c.mount_point);
    }
    // The root field says which folder of the file system a bind mount shows.
    const MountPoint bound = mount_point_holding(mount_points_of(table), "/home/me/rock/a.mp3");
    EXPECT_EQ(bound.path, "/home/me/rock");
    EXPECT_EQ(bound.root, "/Music/Rock Songs");
    EXPECT_EQ(mount_point_holding(mount_points_of(table), "/media/me/MY/c.mp3").root, "/");
    EXPECT_TRUE(mount_points_of("").empty());
    EXPECT_TRUE(mount_points_of("broken line\n\n1 2 3\n").empty());
    EXPECT_EQ(mount_point_holding({}, "/a").path, "");
}

using FileVolume = FileTest;

std::u16string built(char16_t* text) { return text; }

#if defined(_WIN32)
TEST_F(FileVolume, DrivesAndSharesAreTheRoots) {
    const struct {
        const char16_t* path;
        const char16_t* root;
        const char16_t* from_root;
    } cases[] = {
        {u"E:\\Music\\a.mp3", u"E:\\", u"/Music/a.mp3"},
        {u"e:/Music/a.mp3", u"e:\\", u"/Music/a.mp3"},
        {u"E:\\", u"E:\\", u"/"},
        {u"\\\\server\\share\\Lists\\x.m3u", u"\\\\server\\share\\", u"/Lists/x.m3u"},
        {u"\\\\server\\share", u"\\\\server\\share\\", u"/"},
        {u"\\\\server", u"", u""},
        {u"Music\\a.mp3", u"", u""},
        {u"E:a.mp3", u"", u""},
        {u"", u"", u""},
    };
    for (const auto& c : cases) {
        std::u16string path = c.path;
        SCOPED_TRACE(std::string(path.begin(), path.end()));
        EXPECT_EQ(built(file_volume_root(c.path, -1)), c.root);
        EXPECT_EQ(built(file_volume_path(c.path, -1)), c.from_root);
    }
}

TEST_F(FileVolume, ThePlayerPathDropsTheFirstTwoCharacters) {
    EXPECT_EQ(built(file_player_paths(u"E:\\Music\\Rock\\x.mp3", -1)), u"/Music/Rock/x.mp3");
    EXPECT_EQ(built(file_player_paths(u"\\\\server\\share\\a.mp3", -1)), u"server/share/a.mp3");
    EXPECT_EQ(built(file_player_paths(u"E", -1)), u"");
    EXPECT_EQ(built(file_player_paths(u"E:\\a.mp3\nC:\\b\\c.ogg\nE\n", -1)), u"/a.mp3\n/b/c.ogg\n\n");
}
#else
// The mount point as the kernel tells it apart: the highest folder above the
// file that still lies on the file's own device.
std::string device_root_of(const std::string& path) {
    auto device = [](const std::string& name) {
        struct stat about {};
        stat(name.empty() ? "/" : name.c_str(), &about);
        return about.st_dev;
    };
    std::string folder = path;
    while (!folder.empty()) {
        std::string parent = folder.substr(0, folder.find_last_of('/'));
        if (device(parent) != device(path)) break;
        folder = parent;
    }
    return folder.empty() ? "/" : folder;
}

TEST_F(FileVolume, TheRootIsTheMountPointOfTheRealPath) {
    put("list.m3u", "");
    char* real = realpath(fs_path("list.m3u").c_str(), nullptr);
    ASSERT_NE(real, nullptr);
    std::string real_path = real;
    free(real);
    std::string mount_point = device_root_of(real_path);
    std::string root = mount_point == "/" ? "/" : mount_point + "/";
    std::string from_root = real_path.substr(mount_point == "/" ? 0 : mount_point.size());

    EXPECT_EQ(built(file_volume_root(path("list.m3u").c_str(), -1)), std::u16string(root.begin(), root.end()));
    EXPECT_EQ(built(file_volume_path(path("list.m3u").c_str(), -1)),
              std::u16string(from_root.begin(), from_root.end()));
    // Through a link the file is still where it really is.
    ASSERT_EQ(symlink(real_path.c_str(), fs_path("link.m3u").c_str()), 0);
    EXPECT_EQ(built(file_volume_path(path("link.m3u").c_str(), -1)),
              std::u16string(from_root.begin(), from_root.end()));
    EXPECT_EQ(built(file_volume_root(path("missing.m3u").c_str(), -1)), u"");
    EXPECT_EQ(built(file_player_paths(path("list.m3u").c_str(), -1)),
              std::u16string(from_root.begin(), from_root.end()));
    EXPECT_EQ(built(file_player_paths(path("missing.m3u").c_str(), -1)), u"") << "a file that is not there";
}

// Many files of one folder, read once, give what each gives on its own: a
// link is still where it really points, a missing file has no path, and
// files of other folders and special names keep their own answers.
TEST_F(FileVolume, ManyFilesOfAFolderGiveWhatEachGivesAlone) {
    std::filesystem::create_directories(fs_path("many"));
    std::filesystem::create_directories(fs_path("elsewhere/deeper"));
    put("elsewhere/deeper/target.mp3", "");
    std::vector<std::u16string> files;
    for (int i = 0; i < 40; ++i) {
        const std::string name = "many/track " + std::to_string(i) + ".mp3";
        if (i == 7) {
            ASSERT_EQ(symlink(fs_path("elsewhere/deeper/target.mp3").c_str(), fs_path(name).c_str()), 0);
        } else if (i != 9) {  // the tenth is missing
            put(name, "");
        }
        files.push_back(path(name));
    }
    std::filesystem::create_directories(fs_path("many/sub"));
    files.insert(files.end(), {path("many/sub"), path("many/."), path("many/"), path("many/sub/.."),
                               path("elsewhere/deeper/target.mp3"), path("many/track 1.mp3")});
    std::u16string joined, expected;
    for (const std::u16string& file : files) {
        joined += (joined.empty() ? u"" : u"\n") + file;
        expected += (expected.empty() ? u"" : u"\n") + built(file_player_paths(file.c_str(), -1));
    }
    const std::u16string together = built(file_player_paths(joined.c_str(), -1));
    EXPECT_EQ(together, expected);
    // The answers themselves: the link where it points, nothing for the missing file.
    std::vector<std::u16string> lines;
    for (std::size_t start = 0;;) {
        const std::size_t end = std::min(together.find(u'\n', start), together.size());
        lines.push_back(together.substr(start, end - start));
        if (end == together.size()) break;
        start = end + 1;
    }
    ASSERT_EQ(lines.size(), files.size());
    auto ends_with = [](const std::u16string& text, std::u16string_view end) {
        return text.size() >= end.size() && std::u16string_view(text).substr(text.size() - end.size()) == end;
    };
    EXPECT_TRUE(ends_with(lines[0], u"/many/track 0.mp3"));
    EXPECT_TRUE(ends_with(lines[7], u"/elsewhere/deeper/target.mp3"));
    EXPECT_EQ(lines[9], u"");
}

TEST_F(FileVolume, APlayerMountedAnywhereSeesPathsFromItsMountPoint) {
    // A file system of its own at a path with a space and a letter beyond ASCII.
    std::filesystem::path mount_point = fs_path("MY PL\xC3\x84YER");
    std::filesystem::create_directory(mount_point);
    // Read before the mount: what is known of the mounts must follow it.
    const std::u16string before = built(file_volume_root(path("MY PL\xC3\x84YER").c_str(), -1));
    EXPECT_NE(before.substr(before.size() < 10 ? 0 : before.size() - 10), u"MY PL\u00C4YER/");
    ASSERT_EQ(mount("tunelathe-player", mount_point.c_str(), "tmpfs", 0, "size=64k"), 0)
        << "mounting a file system needs root: " << std::strerror(errno);
    struct Unmount {
        std::filesystem::path at;
        ~Unmount() { umount2(at.c_str(), MNT_DETACH); }
    } unmount{mount_point};
    std::filesystem::create_directories(mount_point / "Music");
    put("MY PL\xC3\x84YER/Music/a b.mp3", "ID3");
    const std::u16string file = path("MY PL\xC3\x84YER/Music/a b.mp3");
    EXPECT_EQ(built(file_player_paths(file.c_str(), -1)), u"/Music/a b.mp3");
    // Among many files of its folder, the mount point is the root of its own volume.
    std::u16string many = path("MY PL\xC3\x84YER");
    for (int i = 0; i < 40; ++i) {
        put("beside " + std::to_string(i), "");
        many += u"\n" + path("beside " + std::to_string(i));
    }
    const std::u16string together = built(file_player_paths(many.c_str(), -1));
    EXPECT_EQ(together.substr(0, together.find(u'\n')), u"/");
    std::u16string root = built(file_volume_root(file.c_str(), -1));
    EXPECT_EQ(root.substr(root.size() - 10), u"MY PL\u00C4YER/");

    // A part of the player bound elsewhere still sees paths from the player's root.
    std::filesystem::create_directory(fs_path("bound"));
    ASSERT_EQ(mount((mount_point / "Music").c_str(), fs_path("bound").c_str(), nullptr, MS_BIND, nullptr), 0)
        << std::strerror(errno);
    Unmount unbind{fs_path("bound")};
    const std::u16string through_bind = path("bound/a b.mp3");
    EXPECT_EQ(built(file_player_paths(through_bind.c_str(), -1)), u"/Music/a b.mp3");
    EXPECT_EQ(built(file_volume_path(through_bind.c_str(), -1)), u"/Music/a b.mp3");
    std::u16string bound_many;
    for (int i = 0; i < 40; ++i) {
        put("bound/t" + std::to_string(i), "");
        bound_many += (i ? u"\n" : u"") + path("bound/t" + std::to_string(i));
    }
    const std::u16string bound_together = built(file_player_paths(bound_many.c_str(), -1));
    EXPECT_EQ(bound_together.substr(0, bound_together.find(u'\n')), u"/Music/t0");
}
#endif

}  // namespace
