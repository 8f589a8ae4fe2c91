// Paths between UTF-16 texts and the bytes a POSIX system names files with.
#include "runtime/file/path_bytes.h"

#include <memory>

#include "runtime/file/utf8.h"

namespace {

constexpr char16_t ESCAPED_BYTES = 0xDC00;  // + the byte, 0x80..0xFF

bool is_high_surrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

// A byte's stand-in, as opposed to the second half of a pair.
bool is_escaped_byte(std::u16string_view path, std::size_t i) {
    return path[i] >= ESCAPED_BYTES + 0x80 && path[i] <= ESCAPED_BYTES + 0xFF &&
           !(i > 0 && is_high_surrogate(path[i - 1]));
}

}  // namespace

std::string path_bytes_of(std::u16string_view path) {
    // Room for the longest encoding, left unfilled: a drop's thousands of
    // names would otherwise first be written over with three times their
    // size in zeros. The bytes are copied out once their count is known.
    const std::unique_ptr<unsigned char[]> room(new unsigned char[3 * path.size() + 1]);
    unsigned char* const bytes = room.get();
    std::size_t written = 0, start = 0;
    for (std::size_t i = 0; i <= path.size(); ++i) {
        const bool escaped = i < path.size() && is_escaped_byte(path, i);
        if (!escaped && i < path.size()) continue;
        // The characters before: UTF-8, with U+FFFD for any other lone surrogate.
        written += utf8_encode(path.data() + start, i - start, bytes + written);
        if (escaped) bytes[written++] = static_cast<unsigned char>(path[i] - ESCAPED_BYTES);
        start = i + 1;
    }
    return std::string(reinterpret_cast<const char*>(bytes), written);
}

std::size_t path_text_decode(const char* bytes, std::size_t length, char16_t* out) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes);
    std::size_t written = 0;
    for (std::size_t i = 0; i < length;) {
        // The run of well-formed UTF-8 from here is decoded at once; names
        // are mostly ASCII throughout.
        std::size_t run = i;
        while (run < length) {
            if (p[run] < 0x80) {
                ++run;
                continue;
            }
            const std::size_t sequence = utf8_sequence_length(p + run, length - run);
            if (sequence == 0) break;
            run += sequence;
        }
        written += utf8_decode(p + i, run - i, out + written);
        if (run < length) out[written++] = static_cast<char16_t>(ESCAPED_BYTES + p[run++]);
        i = run;
    }
    return written;
}

std::u16string path_text_of(const char* bytes, std::size_t length) {
    std::u16string text(length, u'\0');
    text.resize(path_text_decode(bytes, length, text.data()));
    return text;
}
