#include "runtime/file/mount_table.h"

namespace {

bool is_octal(char c, char highest) { return c >= '0' && c <= highest; }

// The table writes space, tab, line feed and backslash in a mount point as
// three octal digits after a backslash.
std::string unescape(std::string_view field) {
    std::string text;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && is_octal(field[i + 1], '3') && is_octal(field[i + 2], '7') &&
            is_octal(field[i + 3], '7')) {
            text += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0'));
            i += 3;
        } else {
            text += field[i];
        }
    }
    return text;
}

// A field of a line, counted from 0, still escaped; empty when the line is
// shorter.
std::string_view field_of(std::string_view line, int field) {
    for (; field > 0; --field) {
        std::size_t space = line.find(' ');
        if (space == std::string_view::npos) return {};
        line.remove_prefix(space + 1);
    }
    return line.substr(0, line.find(' '));
}

bool holds(std::string_view mount_point, std::string_view path) {
    if (mount_point == "/") return !path.empty() && path.front() == '/';
    return path.substr(0, mount_point.size()) == mount_point &&
           (path.size() == mount_point.size() || path[mount_point.size()] == '/');
}

}  // namespace

std::vector<MountPoint> mount_points_of(std::string_view table) {
    std::vector<MountPoint> mount_points;
    while (!table.empty()) {
        std::size_t end = table.find('\n');
        std::string_view line = table.substr(0, end);
        table.remove_prefix(end == std::string_view::npos ? table.size() : end + 1);
        // The fourth field is the root, the fifth the mount point.
        MountPoint mount_point{unescape(field_of(line, 4)), unescape(field_of(line, 3))};
        if (!mount_point.path.empty() && !mount_point.root.empty()) mount_points.push_back(std::move(mount_point));
    }
    return mount_points;
}

MountPoint mount_point_holding(const std::vector<MountPoint>& mount_points, std::string_view path) {
    const MountPoint* best = nullptr;
    for (const MountPoint& mount_point : mount_points)
        if ((!best || mount_point.path.size() > best->path.size()) && holds(mount_point.path, path))
            best = &mount_point;
    return best ? *best : MountPoint{};
}
