// Look-ups of a player's files on Linux, where a folder standing for a player
// may be case-sensitive: a missing name is matched part by part in any case;
// and folders' listings.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <string>
#include <unordered_map>

#include "runtime/file/file.h"
#include "runtime/file/file_folder.h"
#include "runtime/file/path_bytes.h"
#include "runtime/text/case_fold.h"
#include "runtime/text/text.h"

namespace {

bool exists(const std::string& path) {
    struct stat status;
    return ::lstat(path.empty() ? "." : path.c_str(), &status) == 0;
}

std::u16string folded(std::u16string name) {
    for (char16_t& c : name) c = case_fold(c);
    return name;
}

// The names of a folder looked in, by their letters folded: a playlist's rows
// that miss mostly miss in the same few folders (a folder and those the
// fallback goes on to), and each would otherwise read the whole folder again.
// A change of the folder's entries changes its modification time; as that
// time has a coarse grain, a listing read within seconds of the last change
// is read again next time.
struct FolderListing {
    std::string folder;
    dev_t device = 0;
    ino_t inode = 0;
    timespec modified{};
    time_t listed_at = 0;
    std::unordered_map<std::u16string, std::string> names;  // folded name -> the first stored name
};

constexpr time_t SETTLED_SECONDS = 2;
constexpr std::size_t LISTINGS_KEPT = 8;

bool still_valid(const FolderListing& listing, const std::string& folder, const struct stat& status) {
    return listing.folder == folder && listing.device == status.st_dev && listing.inode == status.st_ino &&
           listing.modified.tv_sec == status.st_mtim.tv_sec && listing.modified.tv_nsec == status.st_mtim.tv_nsec &&
           listing.listed_at - listing.modified.tv_sec >= SETTLED_SECONDS;
}

// The name in folder that is name in other letters; empty when none is.
std::string name_in_any_case(const std::string& folder, const std::string& name) {
    thread_local FolderListing listings[LISTINGS_KEPT];
    thread_local std::size_t next_replaced = 0;
    const char* where = folder.empty() ? "." : folder.c_str();
    struct stat status;
    if (::stat(where, &status) != 0) return {};
    FolderListing* listing = nullptr;
    for (FolderListing& kept : listings)
        if (still_valid(kept, folder, status)) listing = &kept;
    if (!listing) {
        listing = &listings[next_replaced];
        next_replaced = (next_replaced + 1) % LISTINGS_KEPT;
        *listing = FolderListing{folder, status.st_dev, status.st_ino, status.st_mtim, ::time(nullptr), {}};
        DIR* entries = ::opendir(where);
        if (!entries) {
            listing->folder.clear();
            return {};
        }
        while (const dirent* entry = ::readdir(entries))
            listing->names.emplace(folded(path_text_of(entry->d_name, std::strlen(entry->d_name))), entry->d_name);
        ::closedir(entries);
    }
    auto found = listing->names.find(folded(path_text_of(name)));
    return found == listing->names.end() ? std::string() : found->second;
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

namespace {

int kind_of(const struct stat& status) {
    if (S_ISREG(status.st_mode)) return FILE_KIND_FILE;
    return S_ISDIR(status.st_mode) ? FILE_KIND_FOLDER : FILE_KIND_NONE;
}

// The kind of a folder's entry, from the listing where it says, else (a
// link, a file system that does not say) from the entry itself.
int kind_of(int folder, const dirent& entry) {
    switch (entry.d_type) {
    case DT_REG: return FILE_KIND_FILE;
    case DT_DIR: return FILE_KIND_FOLDER;
    case DT_LNK:
    case DT_UNKNOWN: {
        struct stat status;
        return ::fstatat(folder, entry.d_name, &status, 0) == 0 ? kind_of(status) : FILE_KIND_NONE;
    }
    default: return FILE_KIND_NONE;
    }
}

bool dot_or_dot_dot(const char* name) { return name[0] == '.' && (!name[1] || (name[1] == '.' && !name[2])); }

}  // namespace

int file_folder_read(const char16_t* folder, std::vector<FileFolderEntry>& entries) {
    const int descriptor = ::open(path_bytes_of(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return errno;
    // A folder that may be read but not searched gives names whose files
    // cannot be reached: file_kind would find none of them.
    struct stat status;
    DIR* listing = ::fstatat(descriptor, ".", &status, 0) == 0 ? ::fdopendir(descriptor) : nullptr;
    if (!listing) {
        const int error = errno;
        ::close(descriptor);
        return error;
    }
    int error = 0;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(listing);
        if (!entry) {
            error = errno;
            break;
        }
        if (dot_or_dot_dot(entry->d_name)) continue;
        entries.push_back({path_text_of(entry->d_name, std::strlen(entry->d_name)), kind_of(descriptor, *entry)});
    }
    ::closedir(listing);
    return error;
}

int file_kind(const char16_t* path) {
    struct stat status;
    if (!path || ::stat(path_bytes_of(path).c_str(), &status) != 0) return FILE_KIND_NONE;
    return kind_of(status);
}

char16_t* file_find_ignoring_case(const char16_t* path, int position, int* kind) {
    std::u16string found;
    if (path && *path) {
        const std::string bytes = path_bytes_of(path);
        // A path there as written, the usual case, costs one look.
        struct stat status;
        if (kind && ::stat(bytes.c_str(), &status) == 0) {
            *kind = kind_of(status);
            found = path;
        } else {
            found = path_text_of(stored_path(bytes));
            if (kind) *kind = found.empty() ? FILE_KIND_NONE : file_kind(found.c_str());
        }
    } else if (kind) {
        *kind = FILE_KIND_NONE;
    }
    char16_t* out = text_builder_reserve(static_cast<int>(found.size()), position);
    found.copy(out, found.size());
    out[found.size()] = 0;
    return out;
}
