#include "app/track_location.h"

#include <algorithm>

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }
bool IsSeparator(char16_t c) { return c == u'/' || c == u'\\'; }
bool IsLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

// UTF-8 bytes of a UTF-16 text: what the player counts.
std::size_t Utf8Length(std::u16string_view text) {
    std::size_t bytes = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (c < 0x80) {
            bytes += 1;
        } else if (c < 0x800) {
            bytes += 2;
        } else if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                   text[i + 1] <= 0xDFFF) {
            bytes += 4;
            ++i;
        } else {
            bytes += 3;
        }
    }
    return bytes;
}

// Appends the parts of a path to the collapsed path so far: "." and empty
// parts add nothing, ".." takes the last part away. False when ".." climbs
// above the root.
bool AppendParts(std::u16string_view parts, std::u16string& path) {
    std::size_t start = 0;
    while (start <= parts.size()) {
        std::size_t end = start;
        while (end < parts.size() && !IsSeparator(parts[end])) ++end;
        std::u16string_view part = parts.substr(start, end - start);
        if (part == u"..") {
            if (path.empty()) return false;
            path.erase(path.rfind(u'/'));
        } else if (!part.empty() && part != u".") {
            (path += u'/') += part;
        }
        start = end + 1;
    }
    return true;
}

}  // namespace

bool PlayerTrackPath(std::u16string_view line, std::u16string_view playlist_folder, std::u16string& path) {
    path.clear();
    while (!line.empty() && IsBlank(line.back())) line.remove_suffix(1);
    if (line.empty() || line.front() == u'#') return false;
    if (line.size() >= 3 && IsLetter(line[0]) && line[1] == u':' && IsSeparator(line[2])) line.remove_prefix(2);
    if (!IsSeparator(line.front())) path = playlist_folder;
    bool named = AppendParts(line, path);
    // Every character takes one to three bytes (a surrogate pair four for two).
    bool too_long = path.size() > PLAYER_PATH_LIMIT ||
                    (path.size() * 3 > PLAYER_PATH_LIMIT && Utf8Length(path) > PLAYER_PATH_LIMIT);
    if (!named || path.empty() || too_long) {
        path.clear();
        return false;
    }
    return true;
}

void LocalPathOf(std::u16string_view player_path, std::u16string_view volume_root, std::u16string& local) {
    local.clear();
    if (volume_root.empty()) return;
    local.append(volume_root).append(player_path.substr(player_path.empty() ? 0 : 1));
    if (char16_t separator = volume_root.back(); separator != u'/')
        std::replace(local.begin() + static_cast<std::ptrdiff_t>(volume_root.size()), local.end(), u'/', separator);
}
