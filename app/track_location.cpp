#include "app/track_location.h"

#include <vector>

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }
bool IsSeparator(char16_t c) { return c == u'/' || c == u'\\'; }
bool IsLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

// UTF-8 bytes of a UTF-16 text: what the player counts.
std::size_t Utf8Length(std::u16string_view text) {
    std::size_t bytes = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (c < 0x80) bytes += 1;
        else if (c < 0x800) bytes += 2;
        else if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            bytes += 4;
            ++i;
        } else bytes += 3;
    }
    return bytes;
}

// Appends the parts of a path to parts, collapsing "." and ".."; false when
// ".." climbs above the root.
bool AppendParts(std::u16string_view path, std::vector<std::u16string_view>& parts) {
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = start;
        while (end < path.size() && !IsSeparator(path[end])) ++end;
        std::u16string_view part = path.substr(start, end - start);
        if (part == u"..") {
            if (parts.empty()) return false;
            parts.pop_back();
        } else if (!part.empty() && part != u".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    return true;
}

}  // namespace

std::u16string PlayerTrackPath(std::u16string_view line, std::u16string_view playlist_folder) {
    while (!line.empty() && IsBlank(line.back())) line.remove_suffix(1);
    if (line.empty() || line.front() == u'#') return {};
    std::vector<std::u16string_view> parts;
    bool drive = line.size() >= 3 && IsLetter(line[0]) && line[1] == u':' && IsSeparator(line[2]);
    if (drive) line.remove_prefix(2);
    if (!IsSeparator(line.front()) && !AppendParts(playlist_folder, parts)) return {};
    if (!AppendParts(line, parts)) return {};
    std::u16string path;
    for (std::u16string_view part : parts) (path += u'/') += part;
    if (path.empty()) return {};
    if (Utf8Length(path) > PLAYER_PATH_LIMIT) return {};
    return path;
}

std::u16string LocalPathOf(std::u16string_view player_path, std::u16string_view volume_root) {
    if (volume_root.empty()) return {};
    char16_t separator = volume_root.back();
    std::u16string local(volume_root);
    for (char16_t c : player_path.substr(player_path.empty() ? 0 : 1)) local += c == u'/' ? separator : c;
    return local;
}
