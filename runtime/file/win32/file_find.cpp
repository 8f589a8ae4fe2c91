// Look-ups of a player's files on Windows, which ignores letter case itself.
#include <windows.h>

#include <string>

#include "runtime/file/file.h"
#include "runtime/text/text.h"

namespace {

DWORD attributes_of(const char16_t* path) {
    return path && *path ? GetFileAttributesW(reinterpret_cast<const wchar_t*>(path)) : INVALID_FILE_ATTRIBUTES;
}

int kind_of(DWORD attributes) {
    if (attributes == INVALID_FILE_ATTRIBUTES) return FILE_KIND_NONE;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return FILE_KIND_FOLDER;
    return (attributes & FILE_ATTRIBUTE_DEVICE) != 0 ? FILE_KIND_NONE : FILE_KIND_FILE;
}

// The path with every part spelled as stored; the path itself when the
// system cannot say.
std::u16string stored_path(const char16_t* path) {
    const wchar_t* wide = reinterpret_cast<const wchar_t*>(path);
    DWORD length = GetLongPathNameW(wide, nullptr, 0);
    std::u16string stored(length, u'\0');
    if (length == 0 || GetLongPathNameW(wide, reinterpret_cast<wchar_t*>(stored.data()), length) + 1 != length) return path;
    stored.pop_back();
    return stored;
}

}  // namespace

int file_kind(const char16_t* path) { return kind_of(attributes_of(path)); }

char16_t* file_find_ignoring_case(const char16_t* path, int position, int* kind) {
    const DWORD attributes = attributes_of(path);
    if (kind) *kind = kind_of(attributes);
    const std::u16string found = attributes != INVALID_FILE_ATTRIBUTES ? stored_path(path) : u"";
    char16_t* out = text_builder_reserve(static_cast<int>(found.size()), position);
    found.copy(out, found.size());
    out[found.size()] = 0;
    return out;
}
