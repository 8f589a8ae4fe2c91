// Dropped file lists as the platform hands them over (a DROPFILES block): a
// 20-byte header whose first 32-bit field is the byte offset of the names and
// whose fifth says whether they are UTF-16 (non-zero) or 8-bit in the system
// code page; then the names, each ending in a null, then one more null.
// The block comes from another program, so nothing in it is trusted before
// drop_file_list_check has passed it.
#pragma once

#include <cstddef>

inline constexpr std::size_t DROP_FILE_LIST_HEADER_SIZE = 20;

struct DropFileList {
    bool wide;               // names of 16-bit characters, else of bytes
    std::size_t first;       // byte offset of the first name
    std::size_t count;       // number of names
    std::size_t characters;  // their lengths summed, without terminators
};

// True when the offset lies inside the block and past the header, every name
// ends inside the block and holds no control character, and the closing null
// is there too. Otherwise false, with *list zeroed.
bool drop_file_list_check(const void* block, std::size_t size, DropFileList* list);

// Steps through a list that passed the check: the length in characters of the
// name at byte offset *at (start with list.first), and *at moved to the next
// name. Never reads outside the block: at its end the result is 0.
std::size_t drop_file_list_next(const void* block, std::size_t size, const DropFileList& list,
                                std::size_t* at);
