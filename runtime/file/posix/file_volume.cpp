// Volumes on Linux: the file system that holds a file's real path, from the
// kernel's mount table, so that a player mounted anywhere is found by where it
// is mounted rather than by the names of the folders above it.
#include "runtime/file/file_volume.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>

#include "runtime/file/mount_table.h"
#include "runtime/file/path_bytes.h"

namespace {

// The kernel's mount table, read again only when it changed: a drop of
// thousands of files asks for it once per file. An open mountinfo reports
// POLLPRI after any mount or unmount, and poll takes that report.
class MountTableCache {
public:
    std::string current() {
        std::lock_guard guard(lock_);
        if (table_ < 0) table_ = open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC);
        if (table_ < 0) return {};
        pollfd changed{table_, POLLPRI, 0};
        if (!read_ || poll(&changed, 1, 0) > 0) read_ = reread();
        return text_;
    }
    ~MountTableCache() {
        if (table_ >= 0) close(table_);
    }

private:
    bool reread() {
        text_.clear();
        if (lseek(table_, 0, SEEK_SET) != 0) return false;
        char chunk[4096];
        for (ssize_t got; (got = read(table_, chunk, sizeof chunk)) != 0;) {
            if (got < 0) {
                if (errno == EINTR) continue;
                return false;
            }
            text_.append(chunk, static_cast<std::size_t>(got));
        }
        return true;
    }
    std::mutex lock_;
    int table_ = -1;
    bool read_ = false;
    std::string text_;
};

MountTableCache mount_table;

}  // namespace

VolumePlace file_volume_place(const char16_t* path) {
    if (!path || !*path) return {};
    std::unique_ptr<char, decltype(&std::free)> real(realpath(path_bytes_of(path).c_str(), nullptr), &std::free);
    if (!real) return {};
    std::string real_path = real.get();
    std::string mount_point = mount_point_holding(mount_table.current(), real_path);
    if (mount_point.empty()) return {};
    std::string rest = real_path.substr(mount_point.size());
    if (!rest.empty() && rest.front() == '/') rest.erase(0, 1);
    if (mount_point.back() != '/') mount_point += '/';
    return {path_text_of(mount_point), path_text_of(rest)};
}

// A player mounted at /media/me/PLAYER sees /media/me/PLAYER/Music/a.mp3 as
// /Music/a.mp3, wherever it is mounted.
std::u16string file_volume_player_path(const char16_t* path) {
    VolumePlace place = file_volume_place(path);
    return place.root.empty() ? std::u16string() : u"/" + place.rest;
}
