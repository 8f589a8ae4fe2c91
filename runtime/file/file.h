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
//
// A read that fails (a failing card, a device pulled out) is no end of the
// file: it is kept too. Nothing more is read from that file, so file_eof
// reports the end, but file_finish returns 0 and file_error_text tells why,
// so that a reader never takes part of a file for all of it.
//
// Only regular files open: a folder, a device or a pipe is refused at once.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

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

// Saving over a file in one step. file_create_replacing opens, under the
// number, a new file beside the one path names (on POSIX the file its
// symbolic links lead to, so that they stay links); it is readable by this
// user alone until it has taken that file's permissions, owner and group as
// far as this user may give them. It fails, making nothing, when this user
// may not replace that file: no write permission (the read-only attribute on
// Windows), no regular file, or, on POSIX, other names as hard links, which
// the new file would part from it. Lines written to it reach path only
// through file_finish, which puts them on the device, moves the new file over
// the old one in one step and puts that on the device too, and returns 1 only
// when all of it happened. On any failure, and when the number is closed any
// other way, the new file is deleted and the file at path stays as it was.
std::intptr_t file_create_replacing(ObjectNumber number, const char16_t* path);

// How file_read_line decodes a file's bytes: UTF-8, or one byte a character
// (ISO-8859-1), as files written in a legacy code page are read.
inline constexpr int FILE_TEXT_UTF8 = 1;
inline constexpr int FILE_TEXT_LATIN1 = 2;
// Looks at what the file holds from the reading position on, which it keeps,
// and reads it from then on as it is written: UTF-8 when it starts with a
// byte-order mark or is well-formed UTF-8 throughout, else ISO-8859-1.
// Returns the choice; 0 for a number without an open file, or when a read
// failed (kept as any read failure is).
int file_detect_text(ObjectNumber number);

// The next line, without its line end, decoded as file_detect_text chose
// (UTF-8 until then: malformed bytes become U+FFFD; a byte-order mark is kept
// as U+FEFF). It is built at the calling thread's text builder position,
// which is left at its end (see text.h). A line ends at LF, CR, CR LF, a NUL
// byte or the end of the file; a line cut at FILE_LINE_LIMIT is cut after a
// whole UTF-8 character, a few bytes past the limit if need be.
char16_t* file_read_line(ObjectNumber number);
// The lines from the reading position to the end of the file, as
// file_read_line would read them one by one while file_eof says 0, built one
// behind the other at the text builder position, each ending in its null;
// the builder is left behind the last null. Returns how many lines there
// were. One call for a file of thousands of lines: under Wine, a call a line
// made reading them take nearly twice as long.
int file_read_lines(ObjectNumber number);
// Bytes written: the UTF-8 text plus CR LF; 0 if any of them could not be
// written (see above).
int file_write_line(ObjectNumber number, const char16_t* text);
// 0 while a byte is left to read; at the end 1 (buffered) or -1 (unbuffered).
int file_eof(ObjectNumber number);
void file_close(ObjectNumber number);  // -1 closes every file
// Closes one file as file_close does (but a replacing file replaces its
// target, see file_create_replacing): 1 when all output reached the file,
// every read succeeded and the handle closed cleanly; 0 otherwise, or for a
// number without an open file.
int file_finish(ObjectNumber number);

// The reason for this thread's last failed file operation, in the platform's
// words where it has them, built at the text builder position (empty when
// none failed).
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

// The paths of the files the program was given when it started (its
// command line: "Open with", a file dropped onto the program), each as a full
// path (a relative one is taken from the current folder), built at the text
// builder position; empty beyond the last. On Linux a name's bytes that are
// not UTF-8 travel as path_bytes.h says.
int file_given_count();
char16_t* file_given_path(int index, int position);

// 1 if the text can be a file name: not empty, no character below 32 and none
// of " \ / : * ? < > |.
int file_name_valid(const char16_t* text);

// What a path names: nothing, a regular file (a link to one included) or a
// folder.
inline constexpr int FILE_KIND_NONE = 0;
inline constexpr int FILE_KIND_FILE = 1;
inline constexpr int FILE_KIND_FOLDER = 2;
int file_kind(const char16_t* path);
// Looks a path up as a music player's FAT or exFAT volume does, where names
// ignore letter case: when nothing has the exact name, each part of it is
// matched in any case. The path found, as stored (the path itself when it
// is there as written), is built at the text builder position; empty when
// nothing is found. Windows ignores case itself. kind, when given, receives
// what the path found names (file_kind's answer), asked in the same look.
char16_t* file_find_ignoring_case(const char16_t* path, int position, int* kind = nullptr);

// One name of a folder and what it names: file_kind's answer for the
// folder's path joined with the name (a link counts as what it leads to),
// where that path finds this very entry; FILE_KIND_NONE for the rest (on
// Windows a name with a trailing dot or space, or one the system may take
// for a device, such as NUL.mp3).
struct FileFolderEntry {
    std::u16string name;
    int kind = FILE_KIND_NONE;
};
// The names in a folder, in the system's order, without "." and "..", read
// in one look at the folder rather than one per name. 1 when the whole
// folder was read; 0, leaving entries empty, when it cannot be (missing, no
// folder, no permission, a read failing part of the way), and
// file_error_text tells why. On Linux a name's bytes that are not UTF-8
// travel as path_bytes.h says. Any thread may list a folder.
int file_list_folder(const char16_t* folder, std::vector<FileFolderEntry>& entries);
