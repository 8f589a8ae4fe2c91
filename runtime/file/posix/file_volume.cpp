// Volumes on Linux: the file system that holds a file's real path, from the
// kernel's mount table, so that a player mounted anywhere is found by where it
// is mounted rather than by the names of the folders above it.
#include "runtime/file/file_volume.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <mutex>
#include <vector>

#include "runtime/file/mount_table.h"
#include "runtime/file/utf8.h"

namespace {

std::string native_path(const char16_t* path) {
    std::vector<unsigned char> bytes;
    std::size_t length = text_to_utf8(path, bytes);
    return std::string(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
}

std::u16string text_of(const std::string& bytes) {
    std::u16string text(bytes.size(), u'\0');
    text.resize(utf8_decode(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), text.data()));
    return text;
}

// The kernel's mount points, read again only after a mount or unmount: the
// open table reports each change to poll() as a priority event. A drop of
// thousands of files then reads the table once, not once a file.
class MountPoints {
public:
    MountPoints() = default;
    MountPoints(const MountPoints&) = delete;
    MountPoints& operator=(const MountPoints&) = delete;
    ~MountPoints() {
        if (table_ >= 0) close(table_);
    }

    std::string holding(std::string_view real_path) {
        std::lock_guard guard(lock_);
        if (changed()) points_ = mount_points_of(read_table());
        return mount_point_holding(points_, real_path);
    }

private:
    bool changed() {
        if (table_ < 0) return (table_ = open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC)) >= 0;
        pollfd watch{table_, POLLPRI, 0};
        return poll(&watch, 1, 0) > 0 && (watch.revents & (POLLPRI | POLLERR)) != 0;
    }
    std::string read_table() {
        std::string table;
        char buffer[16384];
        if (lseek(table_, 0, SEEK_SET) != 0) return table;
        for (ssize_t got; (got = read(table_, buffer, sizeof buffer)) > 0;)
            table.append(buffer, static_cast<std::size_t>(got));
        return table;
    }

    std::mutex lock_;
    int table_ = -1;
    std::vector<std::string> points_;
};

std::string mount_point_holding(std::string_view real_path) {
    static MountPoints mount_points;
    return mount_points.holding(real_path);
}

}  // namespace

VolumePlace file_volume_place(const char16_t* path) {
    if (!path || !*path) return {};
    std::unique_ptr<char, decltype(&std::free)> real(realpath(native_path(path).c_str(), nullptr), &std::free);
    if (!real) return {};
    std::string real_path = real.get();
    std::string mount_point = mount_point_holding(real_path);
    if (mount_point.empty()) return {};
    std::string rest = real_path.substr(mount_point.size());
    if (!rest.empty() && rest.front() == '/') rest.erase(0, 1);
    if (mount_point.back() != '/') mount_point += '/';
    return {text_of(mount_point), text_of(rest)};
}

// A player mounted at /media/me/PLAYER sees /media/me/PLAYER/Music/a.mp3 as
// /Music/a.mp3, wherever it is mounted.
std::u16string file_volume_player_path(const char16_t* path) {
    VolumePlace place = file_volume_place(path);
    return place.root.empty() ? std::u16string() : u"/" + place.rest;
}
