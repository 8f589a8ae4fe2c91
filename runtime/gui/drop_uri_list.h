// Dropped file lists as the X drag protocol hands them over: a text/uri-list
// (one URI a line, lines ending in CR LF, LF or CR, lines starting with "#"
// being comments). It comes from another program, so it is read as foreign
// data: every entry must be the URI of a file on this computer, or the whole
// list is refused. A drop never brings some of its files and silently loses
// the others.
//
// An entry is accepted when it is
// - "file:" (any case) followed by "//HOST/PATH" or "/PATH", where HOST is
//   empty, "localhost" or this computer's name (any case);
// - its path holds no control character, no "?" (a query) and no "#" (a
//   fragment), every "%" starts an escape of two hex digits, and no escape
//   stands for a control character (a null, a line end) or a "/".
// The unescaped path is the file's name in bytes: UTF-8 as a rule, and any
// byte that is not comes through as the runtime's paths carry it (path_bytes.h).
// Spaces and tabs around an entry and empty lines are ignored; nulls may end
// the data (some programs end it so) but not stand inside it.
#pragma once

#include <cstddef>
#include <string_view>

// The files of the list, in its order, as a file list block (the layout of
// drop_file_list.h, UTF-16 names), allocated with malloc; *block_size is its
// size in bytes. nullptr (and 0) when the list names no file or any entry is
// refused. local_host is this computer's name. One pass over the list, with
// one allocation for the block.
void* drop_uri_list_files(const char* list, std::size_t size, std::string_view local_host,
                          std::size_t* block_size);
