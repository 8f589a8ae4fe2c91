// Look-ups of a player's files on Windows, which ignores letter case itself;
// and folders' listings.
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "runtime/file/file.h"
#include "runtime/file/file_folder.h"
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

// Whether a look-up of the folder's path joined with the name would find
// this entry. The system drops a trailing dot or space from the last name of
// a path, and takes CON, NUL, COM1 and the like, with any extension, for
// devices; such names (rare, and only ever made around the system) are left
// for a look-up of their own.
bool found_by_its_name(std::u16string_view name) {
    if (name.back() == u'.' || name.back() == u' ') return false;
    const std::u16string_view stem = name.substr(0, name.find(u'.'));
    if (stem.size() < 3 || stem.size() > 7) return true;
    std::u16string start(stem.substr(0, 3));
    for (char16_t& c : start)
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
    for (const char16_t* device : {u"CON", u"PRN", u"AUX", u"NUL", u"COM", u"LPT"})
        if (start == device) return false;
    return true;
}

bool dot_or_dot_dot(std::u16string_view name) { return name == u"." || name == u".."; }

}  // namespace

int file_folder_read(const char16_t* folder, std::vector<FileFolderEntry>& entries) {
    if (!folder || !*folder) return ERROR_PATH_NOT_FOUND;
    // The folder's own handle, read many names a call into a large buffer:
    // under Wine a third cheaper than a search for "*", which copies each
    // name into a record of its own.
    HANDLE handle = CreateFileW(reinterpret_cast<const wchar_t*>(folder), FILE_LIST_DIRECTORY,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return static_cast<int>(GetLastError());
    std::vector<unsigned char> buffer(256 * 1024);
    while (GetFileInformationByHandleEx(handle, FileIdBothDirectoryInfo, buffer.data(),
                                        static_cast<DWORD>(buffer.size()))) {
        for (const unsigned char* at = buffer.data();;) {
            const auto* found = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(at);
            const std::u16string_view name(reinterpret_cast<const char16_t*>(found->FileName),
                                           found->FileNameLength / sizeof(char16_t));
            if (!dot_or_dot_dot(name))
                entries.push_back({std::u16string(name),
                                   found_by_its_name(name) ? kind_of(found->FileAttributes) : FILE_KIND_NONE});
            if (found->NextEntryOffset == 0) break;
            at += found->NextEntryOffset;
        }
    }
    const DWORD error = GetLastError();
    CloseHandle(handle);
    // A file opens as well as a folder does, and its listing then fails
    // with a reason that would tell a person nothing.
    if (error != ERROR_NO_MORE_FILES && entries.empty() && kind_of(attributes_of(folder)) == FILE_KIND_FILE)
        return ERROR_DIRECTORY;
    // A drive's root has no "." or "..": an empty one has nothing to give.
    return error == ERROR_NO_MORE_FILES || (error == ERROR_FILE_NOT_FOUND && entries.empty()) ? 0
                                                                                              : static_cast<int>(error);
}

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
