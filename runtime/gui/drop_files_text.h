// The text event_drop_files returns, for every back end: the names of a
// dropped file list joined by LF, built in the calling thread's text builder.
#pragma once

#include <cstddef>

#include "runtime/gui/drop.h"

// Converts `length` 8-bit characters of a file name into UTF-16 at `out`,
// which has room for `room`; result: the characters written.
using NarrowNames = std::size_t (*)(const char* name, std::size_t length, char16_t* out, std::size_t room);

// The record's file names joined by LF, no trailing separator; the empty text
// when there is no record, it holds no file list, the list fails its check or
// names nothing. A list of 8-bit names needs `narrow`; without it, empty.
char16_t* drop_files_text(const DropRecord* record, NarrowNames narrow);
