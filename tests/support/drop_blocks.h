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

// A file list broken in one way, and what the way is.
struct BrokenBlock {
    std::string what;
    Bytes bytes;
};

// File lists broken in every way a block can be, none of them empty: each
// must be refused as a whole.
inline std::vector<BrokenBlock> broken_file_lists() {
    const Bytes valid = wide_file_list({u"C:\\Music\\a.mp3", u"E:\\b c.ogg"});
    std::vector<BrokenBlock> blocks{{"shorter than the header", Bytes(7, 0)},
                                    {"a byte short of the header", Bytes(19, 0)},
                                    {"header only", drop_header(20, true)}};
    const auto size = static_cast<std::uint32_t>(valid.size());
    for (std::uint32_t offset : {0u, 4u, 8u, 19u, size, size + 100, 1000u, 0xFFFFFFF0u, 0xFFFFFFFFu}) {
        blocks.push_back({"names at " + std::to_string(offset), valid});
        put_u32(blocks.back().bytes, 0, offset);
    }
    blocks.push_back({"no closing null", Bytes(valid.begin(), valid.end() - 2)});
    // A wide terminator needs both its bytes.
    blocks.push_back({"half a closing null", Bytes(valid.begin(), valid.end() - 1)});
    blocks.push_back({"name without terminator", drop_header(20, true)});
    put_wide(blocks.back().bytes, u"C:\\runs\\to\\the\\end");
    blocks.push_back({"no closing null after names", drop_header(20, true)});
    put_wide(blocks.back().bytes, std::u16string(u"a\0b\0", 4));
    blocks.push_back({"narrow, no closing null", drop_header(20, false)});
    for (const char c : std::string("a\0b\0", 4)) blocks.back().bytes.push_back(static_cast<unsigned char>(c));
    // Thousands of tiny names that never end: the count must not run on.
    blocks.push_back({"thousands of names, no end", drop_header(20, true)});
    for (int i = 0; i < 5000; ++i) put_wide(blocks.back().bytes, std::u16string(u"n\0", 2));
    blocks.back().bytes.resize(blocks.back().bytes.size() - 2);
    return blocks;
}
