// Paths between UTF-16 texts and the bytes a POSIX system names files with.
#include "runtime/file/path_bytes.h"

namespace {

constexpr char16_t ESCAPED_BYTES = 0xDC00;  // + the byte, 0x80..0xFF

bool continues(unsigned char b) { return (b & 0xC0) == 0x80; }

// The length of the well-formed UTF-8 sequence at p (with n bytes left) and
// its value; 0 when the bytes there are not one.
int sequence_at(const unsigned char* p, std::size_t n, char32_t* value) {
    const unsigned char lead = p[0];
    if (lead < 0x80) {
        *value = lead;
        return 1;
    }
    int length;
    unsigned char low = 0x80, high = 0xBF;  // the second byte's range
    if (lead >= 0xC2 && lead <= 0xDF) length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;   // no overlong forms
        if (lead == 0xED) high = 0x9F;  // no encoded surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (n < static_cast<std::size_t>(length) || p[1] < low || p[1] > high) return 0;
    char32_t c = lead & (0xFF >> (length + 1));
    for (int i = 1; i < length; ++i) {
        if (!continues(p[i])) return 0;
        c = (c << 6) | (p[i] & 0x3F);
    }
    *value = c;
    return length;
}

void put_utf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool is_high_surrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool is_low_surrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

std::string path_bytes_of(const char16_t* path) {
    std::string out;
    if (!path) return out;
    for (const char16_t* p = path; *p; ++p) {
        const char16_t c = *p;
        if (is_high_surrogate(c) && is_low_surrogate(p[1])) {
            put_utf8(out, 0x10000 + ((char32_t{c} - 0xD800) << 10) + (p[1] - 0xDC00));
            ++p;
        } else if (c >= ESCAPED_BYTES + 0x80 && c <= ESCAPED_BYTES + 0xFF) {
            out += static_cast<char>(c - ESCAPED_BYTES);
        } else if (is_high_surrogate(c) || is_low_surrogate(c)) {
            put_utf8(out, 0xFFFD);  // no byte stands for it
        } else {
            put_utf8(out, c);
        }
    }
    return out;
}

std::u16string path_text_of(const char* bytes, std::size_t length) {
    std::u16string text;
    text.reserve(length);
    const auto* p = reinterpret_cast<const unsigned char*>(bytes);
    for (std::size_t i = 0; i < length;) {
        char32_t c;
        const int taken = sequence_at(p + i, length - i, &c);
        if (taken == 0) {
            text += static_cast<char16_t>(ESCAPED_BYTES + p[i]);
            i += 1;
            continue;
        }
        if (c >= 0x10000) {
            text += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            text += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            text += static_cast<char16_t>(c);
        }
        i += static_cast<std::size_t>(taken);
    }
    return text;
}
