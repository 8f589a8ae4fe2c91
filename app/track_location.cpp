#include "app/track_location.h"

#include <algorithm>
#include <iterator>

namespace {

bool IsSeparator(char16_t c) { return c == u'/' || c == u'\\'; }
bool IsLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

bool IsCutAtEnd(char16_t c, bool code_page) {
    if (c == u' ' || c == u'\t') return true;
    return code_page && (c == u'\v' || c == u'\f' || c == u'\r' || c == u'\n');
}

// The UTF-8 bytes of the character at text[i] (a surrogate pair counts once,
// with four); width tells how many UTF-16 units it takes.
std::size_t Utf8Bytes(std::u16string_view text, std::size_t i, std::size_t& width) {
    char16_t c = text[i];
    width = 1;
    if (c < 0x80) return 1;
    if (c < 0x800) return 2;
    if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
        width = 2;
        return 4;
    }
    return 3;
}

// Whether a text takes more than limit bytes as UTF-8, which the player's
// paths are made of.
bool Utf8LongerThan(std::u16string_view text, std::size_t limit) {
    // Every UTF-16 unit takes at most three bytes: most paths need no count.
    if (text.size() * 3 <= limit) return false;
    std::size_t bytes = 0;
    for (std::size_t i = 0, width = 0; i < text.size(); i += width) bytes += Utf8Bytes(text, i, width);
    return bytes > limit;
}

// The start of the line that its first PLAYER_PATH_BYTES bytes in the file
// hold; a character stored only in part is left out, as no name holds it.
std::u16string_view StoredPart(std::u16string_view line, bool byte_each) {
    if (byte_each || line.size() * 3 <= PLAYER_PATH_BYTES) return line.substr(0, std::min(line.size(), PLAYER_PATH_BYTES));
    std::size_t bytes = 0;
    std::size_t i = 0;
    for (std::size_t width = 0; i < line.size(); i += width) {
        bytes += Utf8Bytes(line, i, width);
        if (bytes > PLAYER_PATH_BYTES) break;
    }
    return line.substr(0, i);
}

// The start of a line read in the player's code page that its conversion to
// UTF-8 keeps: characters are added while fewer than CODE_PAGE_NAME_BYTES
// bytes are written.
std::u16string_view ConvertedPart(std::u16string_view line) {
    if (line.size() * 3 < CODE_PAGE_NAME_BYTES) return line;
    std::size_t bytes = 0;
    std::size_t i = 0;
    for (std::size_t width = 0; i < line.size() && bytes < CODE_PAGE_NAME_BYTES; i += width)
        bytes += Utf8Bytes(line, i, width);
    return line.substr(0, i);
}

// What came before a part of a path, which decides what a ".." does.
enum class Before { root, name, dot_part, empty };

// Takes the "." and ".." parts out of a path from the root, in place, from
// the "/" at from on (what precedes it is before), the player's way: a ".."
// takes away the part before it only when that is a name, so it never
// climbs above the root and does nothing after "..", "." or an empty part;
// empty parts stay.
void RemoveDotParts(std::u16string& path, std::size_t from, Before before) {
    char16_t* const text = path.data();
    const std::size_t size = path.size();
    std::size_t written = from;  // text[0, written) is the result so far, never longer than what was read
    for (std::size_t start = from + 1;;) {
        std::size_t end = start;
        while (end < size && text[end] != u'/') ++end;
        const std::size_t length = end - start;
        if (length == 1 && text[start] == u'.') {
            before = Before::dot_part;
        } else if (length == 2 && text[start] == u'.' && text[start + 1] == u'.') {
            if (before == Before::name)
                do --written;
                while (written > 0 && text[written] != u'/');
            before = Before::dot_part;
        } else {
            before = length == 0 ? Before::empty : Before::name;
            text[written] = u'/';
            std::copy(text + start, text + end, text + written + 1);
            written += 1 + length;
        }
        if (end == size) break;
        start = end + 1;
    }
    path.resize(written);
    if (path.empty()) path.push_back(u'/');
}

// The extensions of the player's codecs, in lower case.
constexpr std::u16string_view PLAYED_EXTENSIONS[] = {
    u"mp1", u"mp2", u"mp3",  u"mpa",  u"aif", u"aiff", u"wav", u"at3", u"w64", u"ogg", u"oga", u"opus",
    u"spx", u"flac", u"wv",  u"ape",  u"mac", u"mpc",  u"m4a", u"m4b", u"mp4", u"aac", u"a52", u"ac3",
    u"wma", u"wmv", u"asf",  u"rm",   u"ra",  u"rmvb", u"shn", u"tta", u"au",  u"snd", u"vox", u"mmf",
    u"oma", u"aa3", u"mod",  u"sid",  u"nsf", u"nsfe", u"spc", u"sap", u"adx", u"ay",  u"vtx", u"gbs",
    u"hes", u"sgc", u"vgm",  u"vgz",  u"kss", u"cmc",  u"cm3", u"cmr", u"cms", u"dmc", u"dlt", u"mpt",
    u"mpd", u"rmt", u"tmc",  u"tm8",  u"tm2"};

constexpr std::size_t LONGEST_PLAYED_EXTENSION =
    std::max_element(std::begin(PLAYED_EXTENSIONS), std::end(PLAYED_EXTENSIONS),
                     [](std::u16string_view a, std::u16string_view b) { return a.size() < b.size(); })
        ->size();

}  // namespace

LineReading PlayerTrackPath(std::u16string_view line, std::u16string_view playlist_folder, LineStorage storage,
                            std::u16string& path) {
    path.clear();
    if (line.empty() || line.front() == u'#') return LineReading::no_entry;
    line = StoredPart(line, storage.one_byte_a_character);
    while (!line.empty() && IsCutAtEnd(line.back(), storage.player_code_page)) line.remove_suffix(1);
    if (storage.player_code_page) line = ConvertedPart(line);
    // The player knows only its own volume: any drive letter is dropped.
    if (line.size() >= 2 && IsLetter(line[0]) && line[1] == u':') line.remove_prefix(2);

    // The folder, a path from the system, has no "." or empty parts to take out.
    const bool relative = line.empty() || !IsSeparator(line.front());
    const std::size_t line_start = relative ? playlist_folder.size() : 0;
    const Before before = relative && !playlist_folder.empty() ? Before::name : Before::root;
    path.resize(line_start + (relative ? 1 : 0) + line.size());
    char16_t* out = std::copy(playlist_folder.begin(), playlist_folder.begin() + line_start, path.data());
    // The separators become the player's while the line is copied, and a
    // part that starts with a dot is noticed on the way.
    char16_t previous = u'/';
    if (relative) *out++ = previous;
    bool dot_part = false;
    for (char16_t c : line) {
        if (c == u'\\') c = u'/';
        dot_part |= c == u'.' && previous == u'/';
        *out++ = previous = c;
    }
    if (Utf8LongerThan(path, PLAYER_PATH_BYTES)) {
        path.clear();
        return LineReading::stops_playlist;
    }
    // Most lines have no "." or ".." part, and the path is then as it stays.
    if (dot_part) RemoveDotParts(path, line_start, before);
    if (Utf8LongerThan(path, PLAYER_PATH_BYTES - 1)) {
        path.clear();
        return LineReading::too_long;
    }
    return LineReading::path;
}

bool DropFirstFolder(std::u16string_view& path) {
    std::size_t folder_end = path.find(u'/', 1);
    if (folder_end == std::u16string_view::npos) return false;
    path.remove_prefix(folder_end);
    return true;
}

bool DropFirstFolder(std::u16string& path) {
    std::u16string_view rest = path;
    if (!DropFirstFolder(rest)) return false;
    path.erase(0, path.size() - rest.size());
    return true;
}

bool PlayerPlaysType(std::u16string_view path) {
    std::size_t name_start = path.find_last_of(u'/') + 1;
    std::size_t dot = path.find_last_of(u'.');
    if (dot == std::u16string_view::npos || dot < name_start) return false;
    const std::u16string_view written = path.substr(dot + 1);
    if (written.size() > LONGEST_PLAYED_EXTENSION) return false;
    char16_t lower[LONGEST_PLAYED_EXTENSION];
    std::transform(written.begin(), written.end(), lower,
                   [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; });
    const std::u16string_view extension(lower, written.size());
    return std::find(std::begin(PLAYED_EXTENSIONS), std::end(PLAYED_EXTENSIONS), extension) != std::end(PLAYED_EXTENSIONS);
}

void LocalPathOf(std::u16string_view player_path, std::u16string_view volume_root, std::u16string& local) {
    local.clear();
    if (volume_root.empty()) return;
    const std::u16string_view rest = player_path.substr(player_path.empty() ? 0 : 1);
    local.resize(volume_root.size() + rest.size());
    char16_t* out = std::copy(volume_root.begin(), volume_root.end(), local.data());
    const char16_t separator = volume_root.back();
    for (char16_t c : rest) *out++ = c == u'/' ? separator : c;
}

std::u16string PlayerPathOf(std::u16string_view local, std::u16string_view volume_root) {
    std::u16string path = u"/";
    path += local.substr(std::min(volume_root.size(), local.size()));
    std::replace(path.begin(), path.end(), u'\\', u'/');
    return path;
}
