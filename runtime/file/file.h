// Text files: numbered, buffered files read and written line by line. Texts in
// memory are UTF-16; lines on disk are UTF-8, each written with CR LF.
//
// Numbers follow the ObjectTable rules: reusing a number closes the file that
// had it, DYNAMIC_ID gives a new number, which is returned. Operations on a
// number without an open file do nothing and return 0 (an empty text).
//
// Output is buffered: it is only certain to be in the file once file_finish
// has returned 1. Output that cannot be written stays pending, in order,
// rather than being dropped, and is reported: file_write_line and file_finish
// return 0 (file_close cannot say), and file_error_text tells why. A line
// that fails part of the way is written no further, and the file takes no
// more lines: its file_finish returns 0 even when room comes back.
#pragma once

#include <cstdint>

#include "runtime/core/object_table.h"

// The bytes a file's buffer holds, as many as the standard library's streams
// read at a time.
inline constexpr int FILE_BUFFER_SIZE = 8192;

// A longer line is cut after this many bytes and the rest reads as the next
// line, so that whatever a file holds, one line's memory stays bounded.
inline constexpr int FILE_LINE_LIMIT = 1 << 20;

// file_open_mode modes and flags.
inline constexpr int FILE_MODE_READ = 1;    // read access, the file must exist
inline constexpr int FILE_MODE_OPEN = 2;    // as file_open
inline constexpr int FILE_MODE_CREATE = 3;  // as file_create
inline constexpr int FILE_MODE_CREATE_NEW = 4;  // a new file only: fails, touching nothing, when the path exists
inline constexpr int FILE_SHARE_READING = 1;
inline constexpr int FILE_SHARE_WRITING = 2;
inline constexpr int FILE_UNBUFFERED = 4;
inline constexpr int FILE_AT_END = 8;       // with FILE_MODE_OPEN: start at the end

bool file_init();       // start-up: the file table
void file_close_all();  // end: closes every file still open

// Results: the native handle (the new number for DYNAMIC_ID), 0 on failure.
// file_create replaces an existing file (write access alone is enough when it
// cannot also be read); file_open opens for reading and writing at the start,
// creating a missing file empty, and fails on a file that cannot be written
// (read-only, or locked by another program). Both let other programs read the
// file meanwhile; file_open_mode's flags choose. Sharing is a Windows matter:
// POSIX has no sharing modes, and the flags do nothing there.
std::intptr_t file_create(ObjectNumber number, const char16_t* path);
std::intptr_t file_open(ObjectNumber number, const char16_t* path);
std::intptr_t file_open_mode(ObjectNumber number, const char16_t* path, int mode, int flags);

// The next line, without its line end, decoded from UTF-8 (malformed bytes
// become U+FFFD; a byte-order mark is kept as U+FEFF). It is built at the
// calling thread's text builder position, which is left at its end (see
// text.h). A line ends at LF, CR, CR LF, a NUL byte or the end of the file.
char16_t* file_read_line(ObjectNumber number);
// Bytes written: the UTF-8 text plus CR LF; 0 if any of them could not be
// written (see above).
int file_write_line(ObjectNumber number, const char16_t* text);
// 0 while a byte is left to read; at the end 1 (buffered) or -1 (unbuffered).
int file_eof(ObjectNumber number);
void file_close(ObjectNumber number);  // -1 closes every file
// Closes one file as file_close does: 1 when all output reached the file and
// the handle closed cleanly; 0 otherwise, or for a number without an open file.
int file_finish(ObjectNumber number);

// Moves a file to another path in one step, replacing a file already there,
// so that the target never holds half of either; the file there keeps its
// attributes (on Windows) or permissions (on POSIX). 1 on success.
int file_replace(const char16_t* from, const char16_t* to);
int file_delete(const char16_t* path);  // 1 on success
// The platform's reason for this thread's last failed file operation, built
// at the text builder position (empty when none failed).
char16_t* file_error_text();

// Volumes: a drive (E:\) or network share (\\server\share\) on
// Windows, the file system mounted at a folder on Linux, found from the
// file's real path. The root is the path that leads to the volume, with its
// separator at the end; the volume path is the path from that root, with "/"
// for every separator and a "/" in front ("/Music/a.mp3"). Both are built at
// the text builder position, and are empty when the path names no volume
// (a relative path, or a Linux file that does not exist).
char16_t* file_volume_root(const char16_t* path, int position);
char16_t* file_volume_path(const char16_t* path, int position);
// The paths a music player sees for files on it, with "/" separators: on
// Windows each path without its first two characters (the drive letter and
// colon, whatever they are); on Linux the volume path, from the mount point
// of the player's file system (empty for a file that is not there). The
// paths come joined by LF and go out joined by LF, in their order; on Linux
// the many files of one folder cost one look at the folder, not one each.
char16_t* file_player_paths(const char16_t* paths, int position);

// 1 if the text can be a file name: not empty, no character below 32 and none
// of " \ / : * ? < > |.
int file_name_valid(const char16_t* text);
