// The platform's file handles under the buffered files: a thin layer with the
// meaning of the Win32 file calls, so that the buffering above behaves the
// same on every platform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

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
    create_private,     // new file only, readable by this user alone: fails, touching nothing, when the path exists
};

enum class FileOrigin { current, end };

// Only regular files open: a folder, a device or a pipe is refused at once,
// without waiting for the other end of a pipe. 0 when the path cannot be
// opened that way (a null path included).
FileHandle file_handle_open(const char16_t* path, int access, int share, FileDisposition disposition);
// Bytes moved; fewer than n at the end of the file or on an error. error is
// the platform's code of a failed read, 0 when none failed.
std::size_t file_handle_read(FileHandle handle, void* destination, std::size_t n, int& error);
std::size_t file_handle_write(FileHandle handle, const void* source, std::size_t n);
bool file_handle_seek(FileHandle handle, std::int64_t offset, FileOrigin origin);
// Until this returns true, written data may still sit in the system's caches
// rather than on the device.
bool file_handle_sync(FileHandle handle);
// False when the platform reports an error on closing (late write errors).
bool file_handle_close(FileHandle handle);

// Saving over a file in one step, in three parts:
// - the file a save of path really changes: on POSIX the file its symbolic
//   links lead to, so that links stay links; elsewhere path itself;
// - whether this user may replace that file: false, with the reason kept,
//   for a file without write permission, one that is no regular file, or
//   (on POSIX) one with other names (hard links), which a new file would
//   part from it; true for a file not there yet;
// - giving a new file (open as handle) the permissions, owner and group of
//   the file it will replace, as far as this user may give them, through its
//   handle; a new file for a path not there yet gets what a created file
//   gets.
std::u16string file_handle_save_target(const char16_t* path);
bool file_handle_may_replace(const char16_t* target);
bool file_handle_take_attributes(FileHandle handle, const char16_t* target);
// Moves a closed file over another in one step; the file there keeps its
// attributes (on Windows). True only once the move itself is on the device.
bool file_handle_replace(const char16_t* from, const char16_t* to);
bool file_handle_delete(const char16_t* path);

// The reason of this thread's last failed call of this layer: the platform's
// error code, or one of the layer's own below (0 if none failed).
inline constexpr int FILE_ERROR_NOT_A_FILE = -1;  // a device, a pipe or a socket
inline constexpr int FILE_ERROR_MANY_NAMES = -2;  // a file with hard links
void file_handle_keep_error(int code);
int file_handle_last_error();
// The platform's text for one of its codes: at most room characters, no
// terminator, 0 when the platform has none.
std::size_t file_handle_describe(int code, char16_t* out, std::size_t room);
