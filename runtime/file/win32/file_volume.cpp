// Volumes on Windows: a path's drive letter or network share, read from the
// path itself as the system does (the path need not exist).
#include "runtime/file/file_volume.h"

#include <algorithm>

namespace {

bool is_separator(char16_t c) { return c == u'\\' || c == u'/'; }

// Where the part of path that starts at start ends: at a separator or the end.
std::size_t part_end(const std::u16string& path, std::size_t start) {
    while (start < path.size() && !is_separator(path[start])) ++start;
    return start;
}

}  // namespace

VolumePlace file_volume_place(const char16_t* text) {
    std::u16string path = text ? text : u"";
    bool letter = path.size() >= 3 && ((path[0] | 0x20) >= u'a' && (path[0] | 0x20) <= u'z');
    if (letter && path[1] == u':' && is_separator(path[2])) return {path.substr(0, 2) + u"\\", path.substr(3)};
    // \\server\share\...: both names must be there.
    if (path.size() < 2 || !is_separator(path[0]) || !is_separator(path[1])) return {};
    std::size_t server_end = part_end(path, 2);
    if (server_end == 2 || server_end >= path.size()) return {};
    std::size_t share_end = part_end(path, server_end + 1);
    if (share_end == server_end + 1) return {};
    std::u16string root = path.substr(0, share_end) + u"\\";
    return {root, share_end < path.size() ? path.substr(share_end + 1) : u""};
}

// Dropped from a player's drive E:, E:\Music\a.mp3 is /Music/a.mp3 on the
// player; a network path keeps its server name without the leading slashes.
std::u16string file_volume_player_paths(std::u16string_view paths) {
    std::u16string result;
    for (std::size_t start = 0;;) {
        const std::size_t end = std::min(paths.find(u'\n', start), paths.size());
        result += paths.substr(std::min(start + 2, end), end - std::min(start + 2, end));
        if (end == paths.size()) return result;
        result += u'\n';
        start = end + 1;
    }
}
