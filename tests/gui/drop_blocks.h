// Dropped file lists as a file manager hands them over (DROPFILES blocks),
// built byte by byte so that tests can also break them on purpose.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

inline void put_u32(Bytes& bytes, std::size_t at, std::uint32_t value) {
    if (bytes.size() < at + 4) bytes.resize(at + 4);
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

// The 20-byte header: offset of the names, drop point (unused), non-client
// flag, and whether the names are UTF-16.
inline Bytes drop_header(std::uint32_t names_offset, bool wide) {
    Bytes bytes(20, 0);
    put_u32(bytes, 0, names_offset);
    put_u32(bytes, 16, wide ? 1 : 0);
    return bytes;
}

inline void put_wide(Bytes& bytes, const std::u16string& text) {
    for (char16_t c : text) {
        bytes.push_back(static_cast<unsigned char>(c & 0xFF));
        bytes.push_back(static_cast<unsigned char>(c >> 8));
    }
}

// A well-formed list of UTF-16 names: each with its null, then one more null.
inline Bytes wide_file_list(const std::vector<std::u16string>& names) {
    Bytes bytes = drop_header(20, true);
    for (const std::u16string& name : names) put_wide(bytes, name + u'\0');
    put_wide(bytes, std::u16string(1, u'\0'));
    return bytes;
}

// The same with 8-bit names.
inline Bytes narrow_file_list(const std::vector<std::string>& names) {
    Bytes bytes = drop_header(20, false);
    for (const std::string& name : names) bytes.insert(bytes.end(), name.c_str(), name.c_str() + name.size() + 1);
    bytes.push_back(0);
    return bytes;
}
