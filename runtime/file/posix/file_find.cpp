// Look-ups of a player's files on Linux, where a folder standing for a player
// may be case-sensitive: a missing name is matched part by part in any case.
#include <dirent.h>
#include <sys/stat.h>

#include <cstring>
#include <string>

#include "runtime/file/file.h"
#include "runtime/file/path_bytes.h"
#include "runtime/text/case_fold.h"
#include "runtime/text/text.h"

namespace {

bool exists(const std::string& path) {
    struct stat status;
    return ::lstat(path.empty() ? "." : path.c_str(), &status) == 0;
}

bool same_ignoring_case(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (case_fold(a[i]) != case_fold(b[i])) return false;
    return true;
}

// The name in folder that is name in other letters; empty when none is.
std::string name_in_any_case(const std::string& folder, const std::string& name) {
    DIR* entries = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!entries) return {};
    const std::u16string wanted = path_text_of(name);
    std::string found;
    while (const dirent* entry = ::readdir(entries)) {
        if (same_ignoring_case(path_text_of(entry->d_name, std::strlen(entry->d_name)), wanted)) {
            found = entry->d_name;
            break;
        }
    }
    ::closedir(entries);
    return found;
}

// The path as stored, or empty when no spelling of it is there.
std::string stored_path(const std::string& path) {
    if (exists(path)) return path;
    std::string found;
    std::size_t start = 0;
    if (!path.empty() && path[0] == '/') {
        found = "/";
        start = 1;
    }
    for (;;) {
        std::size_t end = path.find('/', start);
        std::string name = path.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!name.empty() && !exists(found + name)) {
            name = name_in_any_case(found, name);
            if (name.empty()) return {};
        }
        found += name;
        if (end == std::string::npos) return found;
        found += '/';
        start = end + 1;
    }
}

}  // namespace

int file_kind(const char16_t* path) {
    struct stat status;
    if (!path || ::stat(path_bytes_of(path).c_str(), &status) != 0) return FILE_KIND_NONE;
    if (S_ISREG(status.st_mode)) return FILE_KIND_FILE;
    return S_ISDIR(status.st_mode) ? FILE_KIND_FOLDER : FILE_KIND_NONE;
}

char16_t* file_find_ignoring_case(const char16_t* path, int position) {
    const std::u16string found = path && *path ? path_text_of(stored_path(path_bytes_of(path))) : std::u16string();
    char16_t* out = text_builder_reserve(static_cast<int>(found.size()), position);
    found.copy(out, found.size());
    out[found.size()] = 0;
    return out;
}
