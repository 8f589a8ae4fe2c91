// The platform's file handles under the buffered files: a thin layer with the
// meaning of the Win32 file calls, so that the buffering above behaves the
// same on every platform.
#pragma once

#include <cstddef>
#include <cstdint>

// A native handle (a HANDLE, or a descriptor); 0 is never a valid one.
using FileHandle = std::intptr_t;

// Access and sharing are bit sets. Sharing has no POSIX meaning and is
// ignored there.
inline constexpr int FILE_ACCESS_READ = 1;
inline constexpr int FILE_ACCESS_WRITE = 2;
inline constexpr int FILE_SHARE_READ_ACCESS = 1;
inline constexpr int FILE_SHARE_WRITE_ACCESS = 2;

enum class FileDisposition {
    create_always,      // new empty file, an existing one truncated
    truncate_existing,  // existing file only, truncated
    open_always,        // existing file, or a new empty one
    open_existing,      // existing file only
    create_new,         // new file only: fails, touching nothing, when the path exists
};

enum class FileOrigin { current, end };

// 0 when the path cannot be opened that way (a null path included).
FileHandle file_handle_open(const char16_t* path, int access, int share, FileDisposition disposition);
// Bytes moved; fewer than n at the end of the file or on an error.
std::size_t file_handle_read(FileHandle handle, void* destination, std::size_t n);
std::size_t file_handle_write(FileHandle handle, const void* source, std::size_t n);
bool file_handle_seek(FileHandle handle, std::int64_t offset, FileOrigin origin);
// False when the platform reports an error on closing (late write errors).
bool file_handle_close(FileHandle handle);

bool file_handle_replace(const char16_t* from, const char16_t* to);
bool file_handle_delete(const char16_t* path);

// The platform's error code from this thread's last failed call of this layer
// (0 if none failed), and its text: at most room characters, no terminator,
// 0 when the platform has none.
int file_handle_last_error();
std::size_t file_handle_describe(int code, char16_t* out, std::size_t room);
