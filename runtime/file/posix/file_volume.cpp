// Volumes on Linux: the file system that holds a file's real path, from the
// kernel's mount table, so that a player mounted anywhere is found by where it
// is mounted rather than by the names of the folders above it.
#include "runtime/file/file_volume.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

#include "runtime/file/mount_table.h"
#include "runtime/file/path_bytes.h"

namespace {

// The kernel's mount points, read again only after a mount or unmount: the
// open table reports each change to poll() as a priority event. A drop of
// thousands of files then reads the table once, not once a file.
class MountTable {
public:
    MountTable() = default;
    MountTable(const MountTable&) = delete;
    MountTable& operator=(const MountTable&) = delete;
    ~MountTable() {
        if (table_ >= 0) close(table_);
    }

    std::vector<MountPoint> mount_points() {
        std::lock_guard guard(lock_);
        if (changed()) points_ = mount_points_of(read_table());
        return points_;
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
    std::vector<MountPoint> points_;
};

std::vector<MountPoint> current_mount_points() {
    static MountTable table;
    return table.mount_points();
}

// The real path, empty when the file does not exist.
std::string real_path_of(const std::string& path) {
    std::unique_ptr<char, decltype(&std::free)> real(realpath(path.c_str(), nullptr), &std::free);
    return real ? std::string(real.get()) : std::string();
}

// The real path from the root of its file system on, without a leading "/":
// from its mount point on, after the folder of the file system mounted there
// (a bind mount of /Music shows /Music/a.mp3 as a.mp3).
std::string rest_of(const std::string& real_path, const MountPoint& mount_point) {
    std::string_view rest = std::string_view(real_path).substr(mount_point.path.size());
    if (!rest.empty() && rest.front() == '/') rest.remove_prefix(1);
    std::string_view root = mount_point.root;
    while (!root.empty() && root.front() == '/') root.remove_prefix(1);
    if (root.empty()) return std::string(rest);
    std::string whole(root);
    if (!rest.empty()) (whole += '/') += rest;
    return whole;
}

// A player mounted at /media/me/PLAYER sees /media/me/PLAYER/Music/a.mp3 as
// /Music/a.mp3, wherever it is mounted. Nothing for a file not found.
void append_player_path(const std::string& real_path, const MountPoint& mount_point, std::string& out) {
    if (real_path.empty() || mount_point.path.empty()) return;
    out += '/';
    out += rest_of(real_path, mount_point);
}

// Below this many files of one folder in a row, each file is looked for on
// its own; from there on the folder is opened once and each file is looked
// at by its name in it, without a walk down the whole path.
constexpr std::size_t FOLDER_OPEN_FROM = 32;

// A folder opened once for the dropped files in it. A file of it that is no
// link is the folder's real path and its name, on the folder's volume unless
// a file system is mounted right there; so its player path is the folder's
// and its name. The cost follows the files asked for, not the folder's size.
class Folder {
public:
    Folder() = default;
    Folder(const std::string& path, const std::vector<MountPoint>& mount_points) {
        const char* const opened = path.empty() ? "/" : path.c_str();
        const std::string real = real_path_of(opened);
        handle_ = open(opened, O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (real.empty() || handle_ < 0) return;
        const std::string prefix = real == "/" ? real : real + "/";
        const MountPoint mount_point = mount_point_holding(mount_points, real);
        if (mount_point.path.empty()) return;
        for (const MountPoint& point : mount_points)
            if (point.path.size() > prefix.size() && point.path.compare(0, prefix.size(), prefix) == 0 &&
                point.path.find('/', prefix.size()) == std::string::npos)
                mounted_.push_back(point.path.substr(prefix.size()));
        player_prefix_.push_back('/');
        player_prefix_ += rest_of(real, mount_point);
        if (player_prefix_.back() != '/') player_prefix_ += '/';
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;
    ~Folder() {
        if (handle_ >= 0) close(handle_);
    }

    // The player path of the folder's file of that name, added to out; false
    // when the name needs a look of its own (a link, a mount point, a name
    // such as "..", a file not there).
    bool append_player_path(const std::string& name, std::string& out) const {
        if (player_prefix_.empty() || special_name(name) ||
            std::find(mounted_.begin(), mounted_.end(), name) != mounted_.end() || !holds_plain_entry(name.c_str()))
            return false;
        out += player_prefix_;
        out += name;
        return true;
    }

private:
    // Whether the folder holds an entry of that name that is no link. Asking
    // for a link's target answers that from the name alone, without reading
    // the entry's attributes as a stat would: "not a link" for any other
    // entry, "no such file" for none.
    bool holds_plain_entry(const char* name) const {
        char target;
        return readlinkat(handle_, name, &target, 1) < 0 && errno == EINVAL;
    }
    static bool special_name(std::string_view name) { return name.empty() || name == "." || name == ".."; }

    int handle_ = -1;
    std::string player_prefix_;         // "/" and the folder's path on its volume, with its "/"; empty when not opened
    std::vector<std::string> mounted_;  // names that are mount points
};

// Where a path's file name starts: after its last "/"; npos without one.
std::size_t name_start(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? slash : slash + 1;
}

// The files of a text of paths joined by LF, as views into it.
std::vector<std::string_view> lines_of(const std::string& text) {
    std::vector<std::string_view> lines;
    for (std::size_t start = 0;;) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        lines.emplace_back(text.data() + start, end - start);
        if (end == text.size()) return lines;
        start = end + 1;
    }
}

}  // namespace

VolumePlace file_volume_place(const char16_t* path) {
    if (!path || !*path) return {};
    const std::string real_path = real_path_of(path_bytes_of(path));
    if (real_path.empty()) return {};
    const MountPoint mount_point = mount_point_holding(current_mount_points(), real_path);
    if (mount_point.path.empty()) return {};
    const std::string rest = rest_of(real_path, mount_point);
    std::string root = mount_point.path;
    if (root.back() != '/') root += '/';
    return {path_text_of(root), path_text_of(rest)};
}

std::u16string file_volume_player_paths(std::u16string_view paths) {
    const std::string all = path_bytes_of(paths);
    const std::vector<std::string_view> files = lines_of(all);
    const std::vector<MountPoint> mount_points = current_mount_points();
    std::string out, name;
    out.reserve(all.size());
    for (std::size_t i = 0; i < files.size();) {
        // The run of files in the same folder as this one.
        const std::size_t at = name_start(files[i]);
        std::size_t run = 1;
        if (at != std::string_view::npos) {
            const std::string_view folder_path = files[i].substr(0, at);
            while (i + run < files.size() && files[i + run].substr(0, name_start(files[i + run])) == folder_path) ++run;
        }
        const Folder folder = run >= FOLDER_OPEN_FROM ? Folder(std::string(files[i].substr(0, at - 1)), mount_points)
                                                      : Folder();
        for (const std::size_t end = i + run; i < end; ++i) {
            if (i > 0) out += '\n';
            name.assign(at == std::string_view::npos ? files[i] : files[i].substr(at));
            if (!folder.append_player_path(name, out)) {
                const std::string real = real_path_of(std::string(files[i]));
                append_player_path(real, mount_point_holding(mount_points, real), out);
            }
        }
    }
    return path_text_of(out);
}
