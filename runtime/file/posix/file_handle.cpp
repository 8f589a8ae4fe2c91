// File handles on POSIX descriptors, with the meaning of the Win32 calls:
// create-always is O_CREAT | O_TRUNC, open-always creates a missing file, and
// asking for write access fails on a file without write permission. Sharing
// modes have no POSIX counterpart and are ignored: other programs may open the
// file in any way while it is open here.
#include "runtime/file/file_handle.h"

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

namespace {

thread_local int last_error = 0;

// Keeps the reason of a failure for file_error_text, before a later call
// overwrites errno.
template <class T>
T failed(T result) {
    last_error = errno;
    return result;
}

int fd_of(FileHandle handle) { return static_cast<int>(handle); }

int flags_of(int access, FileDisposition disposition) {
    int flags = O_CLOEXEC;
    if ((access & FILE_ACCESS_READ) && (access & FILE_ACCESS_WRITE)) flags |= O_RDWR;
    else if (access & FILE_ACCESS_WRITE) flags |= O_WRONLY;
    else flags |= O_RDONLY;
    switch (disposition) {
    case FileDisposition::create_always: flags |= O_CREAT | O_TRUNC; break;
    case FileDisposition::truncate_existing: flags |= O_TRUNC; break;
    case FileDisposition::open_always: flags |= O_CREAT; break;
    case FileDisposition::create_new: flags |= O_CREAT | O_EXCL; break;
    case FileDisposition::open_existing: break;
    }
    return flags;
}

// Large transfers go in pieces that every kernel accepts in one call.
constexpr std::size_t max_piece = 1u << 30;

}  // namespace

FileHandle file_handle_open(const char16_t* path, int access, int, FileDisposition disposition) {
    if (!path) {
        last_error = EINVAL;
        return 0;
    }
    std::string name = path_bytes_of(path);
    int fd;
    do fd = ::open(name.c_str(), flags_of(access, disposition), 0666);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) return failed(FileHandle{0});
    // Windows does not open folders as files; reading one would fail later
    // with a less telling error.
    struct stat info;
    if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        ::close(fd);
        last_error = EISDIR;
        return 0;
    }
    // Descriptor 0 (free when standard input is closed) would read as "no
    // handle": move it up.
    if (fd == 0) {
        int moved = fcntl(fd, F_DUPFD_CLOEXEC, 1);
        if (moved < 0) last_error = errno;
        ::close(fd);
        if (moved < 0) return 0;
        fd = moved;
    }
    return fd;
}

std::size_t file_handle_read(FileHandle handle, void* destination, std::size_t n) {
    auto* out = static_cast<unsigned char*>(destination);
    std::size_t total = 0;
    while (total < n) {
        ssize_t got = ::read(fd_of(handle), out + total, std::min(n - total, max_piece));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return failed(total);
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
            last_error = EIO;
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

bool file_handle_close(FileHandle handle) {
    // After EINTR the descriptor is already gone on Linux; closing again
    // could close someone else's.
    return ::close(fd_of(handle)) == 0 || errno == EINTR || failed(false);
}

bool file_handle_replace(const char16_t* from, const char16_t* to) {
    if (!from || !to) return false;
    std::string target = path_bytes_of(to), source = path_bytes_of(from);
    // The file there keeps its permissions, which the new file would replace.
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0) ::chmod(source.c_str(), existing.st_mode & 07777);
    return std::rename(source.c_str(), target.c_str()) == 0 || failed(false);
}

bool file_handle_delete(const char16_t* path) {
    if (!path) return false;
    return ::unlink(path_bytes_of(path).c_str()) == 0 || failed(false);
}

int file_handle_last_error() { return last_error; }

std::size_t file_handle_describe(int code, char16_t* out, std::size_t room) {
    // strerror's texts are static here; the UTF-8 decoder gives no more
    // characters than bytes.
    const char* text = std::strerror(code);
    std::size_t length = std::min(std::strlen(text), room);
    return utf8_decode(reinterpret_cast<const unsigned char*>(text), length, out);
}
