#include "runtime/gui/drop_file_list.h"

#include <cstdint>

namespace {

std::uint32_t read_u32(const unsigned char* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

// One character of a name; the caller has made sure it lies inside the block.
unsigned read_unit(const unsigned char* bytes, bool wide) {
    return wide ? static_cast<unsigned>(bytes[0] | bytes[1] << 8) : bytes[0];
}

// The length of the name at `at`, or false when it has no terminator inside
// the block or holds a control character: no file is named so, and a line
// end would split the name where names go joined by line feeds.
bool name_length(const unsigned char* bytes, std::size_t size, bool wide, std::size_t at,
                 std::size_t* length) {
    const std::size_t unit = wide ? 2 : 1;
    std::size_t count = 0;
    for (std::size_t p = at; size - p >= unit; p += unit, ++count) {
        const unsigned c = read_unit(bytes + p, wide);
        if (c == 0) {
            *length = count;
            return true;
        }
        if (c < 0x20 || c == 0x7F) return false;
    }
    return false;
}

}  // namespace

bool drop_file_list_check(const void* block, std::size_t size, DropFileList* list) {
    *list = DropFileList{};
    if (!block || size < DROP_FILE_LIST_HEADER_SIZE) return false;
    const auto* bytes = static_cast<const unsigned char*>(block);
    const std::size_t first = read_u32(bytes);
    const bool wide = read_u32(bytes + 16) != 0;
    if (first < DROP_FILE_LIST_HEADER_SIZE || first >= size) return false;

    const std::size_t unit = wide ? 2 : 1;
    DropFileList found{wide, first, 0, 0};
    std::size_t at = first;
    for (;;) {
        std::size_t length = 0;
        if (!name_length(bytes, size, wide, at, &length)) return false;
        if (length == 0) break;  // the closing null
        ++found.count;
        found.characters += length;
        at += (length + 1) * unit;
    }
    *list = found;
    return true;
}

std::size_t drop_file_list_next(const void* block, std::size_t size, const DropFileList& list,
                                std::size_t* at) {
    std::size_t length = 0;
    if (!block || *at >= size ||
        !name_length(static_cast<const unsigned char*>(block), size, list.wide, *at, &length))
        return 0;
    *at += (length + 1) * (list.wide ? 2 : 1);
    return length;
}
