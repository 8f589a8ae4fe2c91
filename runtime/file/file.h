// Text files: numbered, buffered files read and written line by line. Texts in
// memory are UTF-16; lines on disk are UTF-8, each written with CR LF.
//
// Numbers follow the ObjectTable rules: reusing a number closes the file that
// had it, DYNAMIC_ID gives a new number, which is returned. Operations on a
// number without an open file do nothing and return 0 (an empty text).
#pragma once

#include <cstdint>

#include "runtime/core/object_table.h"

inline constexpr int FILE_BUFFER_SIZE = 4096;

// file_open_mode modes and flags.
inline constexpr int FILE_MODE_READ = 1;
inline constexpr int FILE_MODE_OPEN = 2;
inline constexpr int FILE_MODE_CREATE = 3;
inline constexpr int FILE_SHARE_READING = 1;
inline constexpr int FILE_SHARE_WRITING = 2;
inline constexpr int FILE_UNBUFFERED = 4;
inline constexpr int FILE_AT_END = 8;

bool file_init();       // start-up: the file table
void file_close_all();  // end: closes every file still open

// Results: the native handle (the new number for DYNAMIC_ID), 0 on failure.
std::intptr_t file_create(ObjectNumber number, const char16_t* path);
std::intptr_t file_open(ObjectNumber number, const char16_t* path);
std::intptr_t file_open_mode(ObjectNumber number, const char16_t* path, int mode, int flags);

// The next line, built at the builder's current position (see text.h).
char16_t* file_read_line(ObjectNumber number);
// Bytes written: the UTF-8 text plus CR LF.
int file_write_line(ObjectNumber number, const char16_t* text);
int file_eof(ObjectNumber number);
void file_close(ObjectNumber number);  // -1 closes every file

int file_name_valid(const char16_t* text);
