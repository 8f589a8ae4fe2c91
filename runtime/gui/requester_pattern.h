// The file requesters' portable rules: the platform's list of file-type
// patterns made from the program's "|"-separated pattern text, and the split
// of a default file into the dialog's initial folder and proposed name.
#pragma once

#include <memory>

// The file name buffer's size in characters, its terminator included; a chosen
// path holds at most one character less.
inline constexpr int REQUESTER_PATH_CHARS = 260;

// The pattern with every "|" replaced by a terminator, so that it alternates
// description and pattern texts, and ending in two terminators. Nothing is
// trimmed. A null pattern gives the empty list. Null when memory ran out.
std::unique_ptr<char16_t[]> requester_filter_list(const char16_t* pattern);

// The dialog's starting point taken from a default file.
struct RequesterDefault {
    std::unique_ptr<char16_t[]> folder;  // null: the platform's default folder
    bool ok = true;                      // false when memory ran out
};

// Splits default_file at its last "\" when that lies after the first
// character: the folder goes into the result, the name (at most
// REQUESTER_PATH_CHARS - 1 characters) into name, which holds
// REQUESTER_PATH_CHARS characters. Otherwise the whole text is the name. A name
// that is not a valid plain file name is cleared. A null default file gives
// neither folder nor name.
RequesterDefault requester_default_split(const char16_t* default_file, char16_t* name);
