// File handles on POSIX descriptors, with the meaning of the Win32 calls:
// create-always is O_CREAT | O_TRUNC, open-always creates a missing file, and
// asking for write access fails on a file without write permission. Sharing
// modes have no POSIX counterpart and are ignored: other programs may open the
// file in any way while it is open here.
#include "runtime/file/file_handle.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "runtime/file/path_bytes.h"
#include "runtime/file/utf8.h"
#include "runtime/text/case_fold.h"

namespace {

// Keeps the reason of a failure for file_error_text, before a later call
// overwrites errno.
template <class T>
T failed(T result) {
    file_handle_keep_error(errno);
    return result;
}

int fd_of(FileHandle handle) { return static_cast<int>(handle); }

int flags_of(int access, FileDisposition disposition) {
    // Non-blocking while opening, so that a pipe without a writer cannot hang
    // the program before it is found to be no file.
    int flags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    if ((access & FILE_ACCESS_READ) && (access & FILE_ACCESS_WRITE)) flags |= O_RDWR;
    else if (access & FILE_ACCESS_WRITE) flags |= O_WRONLY;
    else flags |= O_RDONLY;
    switch (disposition) {
    case FileDisposition::create_always: flags |= O_CREAT | O_TRUNC; break;
    case FileDisposition::truncate_existing: flags |= O_TRUNC; break;
    case FileDisposition::open_always: flags |= O_CREAT; break;
    case FileDisposition::create_private: flags |= O_CREAT | O_EXCL; break;
    case FileDisposition::open_existing: break;
    }
    return flags;
}

// Large transfers go in pieces that every kernel accepts in one call.
constexpr std::size_t max_piece = 1u << 30;

// Where the name of a path starts: after its last "/".
std::size_t name_start(const std::string& path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? 0 : slash + 1;
}

// The mask of permissions a new file does not get, read without changing it
// (umask() can only be read by setting it, for a moment, for every thread).
mode_t creation_mask() {
    mode_t mask = 022;
    if (std::FILE* status = std::fopen("/proc/self/status", "re")) {
        char line[128];
        unsigned value;
        while (std::fgets(line, sizeof line, status))
            if (std::sscanf(line, "Umask: %o", &value) == 1) mask = static_cast<mode_t>(value);
        std::fclose(status);
    }
    return mask;
}

bool same_ignoring_case(const std::u16string& a, const std::u16string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (case_fold(a[i]) != case_fold(b[i])) return false;
    return true;
}

// The name a file is stored under, for a name that found it with letters in
// another case (FAT and exFAT players ignore case): replaced under the typed
// name, the file would take on that spelling. The name itself when the
// folder holds it so, or holds no single other spelling of it.
std::string stored_name(const std::string& folder, const std::string& name) {
    DIR* entries = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!entries) return name;
    const std::u16string wanted = path_text_of(name);
    std::string found;
    int matches = 0;
    while (const dirent* entry = ::readdir(entries)) {
        if (name == entry->d_name) {
            matches = 0;
            break;
        }
        if (same_ignoring_case(path_text_of(entry->d_name, std::strlen(entry->d_name)), wanted)) {
            found = entry->d_name;
            ++matches;
        }
    }
    ::closedir(entries);
    return matches == 1 ? found : name;
}

}  // namespace

FileHandle file_handle_open(const char16_t* path, int access, int, FileDisposition disposition) {
    if (!path) {
        file_handle_keep_error(EINVAL);
        return 0;
    }
    std::string name = path_bytes_of(path);
    mode_t mode = disposition == FileDisposition::create_private ? 0600 : 0666;
    int fd;
    do fd = ::open(name.c_str(), flags_of(access, disposition), mode);
    while (fd < 0 && errno == EINTR);
    // A pipe without a reader, or a device without its driver.
    if (fd < 0 && errno == ENXIO) {
        file_handle_keep_error(FILE_ERROR_NOT_A_FILE);
        return 0;
    }
    if (fd < 0) return failed(FileHandle{0});
    // Windows opens no folders, devices or pipes as files; a pipe would block
    // a reader, a device such as /dev/zero never end.
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        ::close(fd);
        file_handle_keep_error(S_ISDIR(info.st_mode) ? EISDIR : FILE_ERROR_NOT_A_FILE);
        return 0;
    }
    // Descriptor 0 (free when standard input is closed) would read as "no
    // handle": move it up.
    if (fd == 0) {
        int moved = fcntl(fd, F_DUPFD_CLOEXEC, 1);
        if (moved < 0) file_handle_keep_error(errno);
        ::close(fd);
        if (moved < 0) return 0;
        fd = moved;
    }
    return fd;
}

std::size_t file_handle_read(FileHandle handle, void* destination, std::size_t n, int& error) {
    auto* out = static_cast<unsigned char*>(destination);
    std::size_t total = 0;
    error = 0;
    while (total < n) {
        ssize_t got = ::read(fd_of(handle), out + total, std::min(n - total, max_piece));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            error = errno;
            return failed(total);
        }
        if (got == 0) break;
        total += static_cast<std::size_t>(got);
    }
    return total;
}

std::size_t file_handle_write(FileHandle handle, const void* source, std::size_t n) {
    auto* in = static_cast<const unsigned char*>(source);
    std::size_t total = 0;
    while (total < n) {
        ssize_t put = ::write(fd_of(handle), in + total, std::min(n - total, max_piece));
        if (put < 0 && errno == EINTR) continue;
        if (put < 0) return failed(total);
        if (put == 0) {
            file_handle_keep_error(EIO);
            break;
        }
        total += static_cast<std::size_t>(put);
    }
    return total;
}

bool file_handle_seek(FileHandle handle, std::int64_t offset, FileOrigin origin) {
    int whence = origin == FileOrigin::end ? SEEK_END : SEEK_CUR;
    return ::lseek(fd_of(handle), static_cast<off_t>(offset), whence) != static_cast<off_t>(-1) ||
           failed(false);
}

bool file_handle_sync(FileHandle handle) {
    int result;
    do result = ::fsync(fd_of(handle));
    while (result != 0 && errno == EINTR);
    return result == 0 || failed(false);
}

bool file_handle_close(FileHandle handle) {
    // After EINTR the descriptor is already gone on Linux; closing again
    // could close someone else's.
    return ::close(fd_of(handle)) == 0 || errno == EINTR || failed(false);
}

std::u16string file_handle_save_target(const char16_t* path) {
    std::string target = path_bytes_of(path);
    // As many links as the system itself follows; one left after them is
    // refused by file_handle_may_replace.
    for (int hop = 0; hop < 40; ++hop) {
        char next[4096];
        ssize_t length = ::readlink(target.c_str(), next, sizeof next);
        if (length < 0 || static_cast<std::size_t>(length) == sizeof next) break;
        std::string link(next, static_cast<std::size_t>(length));
        target = link.front() == '/' ? link : target.substr(0, name_start(target)) + link;
    }
    struct stat info;
    if (::lstat(target.c_str(), &info) == 0) {
        const std::size_t start = name_start(target);
        target = target.substr(0, start) + stored_name(target.substr(0, start), target.substr(start));
    }
    return path_text_of(target);
}

bool file_handle_may_replace(const char16_t* target) {
    std::string name = path_bytes_of(target);
    struct stat info;
    if (::lstat(name.c_str(), &info) != 0) return errno == ENOENT || failed(false);
    int refused = 0;
    if (S_ISLNK(info.st_mode)) refused = ELOOP;
    else if (S_ISDIR(info.st_mode)) refused = EISDIR;
    else if (!S_ISREG(info.st_mode)) refused = FILE_ERROR_NOT_A_FILE;
    else if (::faccessat(AT_FDCWD, name.c_str(), W_OK, AT_EACCESS) != 0) refused = errno;
    else if (info.st_nlink > 1) refused = FILE_ERROR_MANY_NAMES;
    if (refused) file_handle_keep_error(refused);
    return refused == 0;
}

bool file_handle_take_attributes(FileHandle handle, const char16_t* target) {
    struct stat info;
    if (::stat(path_bytes_of(target).c_str(), &info) != 0)
        return ::fchmod(fd_of(handle), 0666 & ~creation_mask()) == 0 || failed(false);
    // The owner first: a change of owner clears set-id bits, which the mode
    // then gives back. A user may give the group alone when he is in it.
    if (::fchown(fd_of(handle), info.st_uid, info.st_gid) != 0) (void)::fchown(fd_of(handle), -1, info.st_gid);
    return ::fchmod(fd_of(handle), info.st_mode & 07777) == 0 || failed(false);
}

bool file_handle_replace(const char16_t* from, const char16_t* to) {
    if (!from || !to) return false;
    std::string target = path_bytes_of(to);
    if (std::rename(path_bytes_of(from).c_str(), target.c_str()) != 0) return failed(false);
    // The new name is an entry of the folder: on the device only once the
    // folder is.
    std::size_t start = name_start(target);
    std::string folder = start == 0 ? "." : target.substr(0, std::max<std::size_t>(start - 1, 1));
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return failed(false);
    int result;
    do result = ::fsync(fd);
    while (result != 0 && errno == EINTR);
    // EINVAL: a file system that keeps folders on the device as it goes.
    bool synced = result == 0 || errno == EINVAL || failed(false);
    ::close(fd);
    return synced;
}

bool file_handle_delete(const char16_t* path) {
    if (!path) return false;
    return ::unlink(path_bytes_of(path).c_str()) == 0 || failed(false);
}

std::size_t file_handle_describe(int code, char16_t* out, std::size_t room) {
    // strerror's texts are static here; the UTF-8 decoder gives no more
    // characters than bytes.
    const char* text = std::strerror(code);
    std::size_t length = std::min(std::strlen(text), room);
    return utf8_decode(reinterpret_cast<const unsigned char*>(text), length, out);
}
