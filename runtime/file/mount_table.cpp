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

// The fifth field of a line: the mount point, still escaped.
std::string_view mount_point_field(std::string_view line) {
    for (int field = 0; field < 4; ++field) {
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

std::vector<std::string> mount_points_of(std::string_view table) {
    std::vector<std::string> mount_points;
    while (!table.empty()) {
        std::size_t end = table.find('\n');
        std::string_view line = table.substr(0, end);
        table.remove_prefix(end == std::string_view::npos ? table.size() : end + 1);
        std::string mount_point = unescape(mount_point_field(line));
        if (!mount_point.empty()) mount_points.push_back(std::move(mount_point));
    }
    return mount_points;
}

std::string mount_point_holding(const std::vector<std::string>& mount_points, std::string_view path) {
    const std::string* best = nullptr;
    for (const std::string& mount_point : mount_points)
        if ((!best || mount_point.size() > best->size()) && holds(mount_point, path)) best = &mount_point;
    return best ? *best : std::string();
}
