#include "runtime/file/utf8.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr char16_t replacement = 0xFFFD;

// Second-byte ranges that keep a sequence well-formed (the Unicode table of
// well-formed byte sequences); later bytes are always 80..BF.
struct Lead {
    int continuation_count;
    unsigned char low;
    unsigned char high;
};

Lead lead_of(unsigned char b) {
    if (b >= 0xC2 && b <= 0xDF) return {1, 0x80, 0xBF};
    if (b == 0xE0) return {2, 0xA0, 0xBF};
    if (b == 0xED) return {2, 0x80, 0x9F};
    if (b >= 0xE1 && b <= 0xEF) return {2, 0x80, 0xBF};
    if (b == 0xF0) return {3, 0x90, 0xBF};
    if (b == 0xF4) return {3, 0x80, 0x8F};
    if (b >= 0xF1 && b <= 0xF3) return {3, 0x80, 0xBF};
    return {0, 0, 0};
}

bool continues(unsigned char b) { return (b & 0xC0) == 0x80; }

// Widens the run of ASCII at the start of [p, p + n) into out, which has room
// for n characters; returns the run's length.
[[gnu::always_inline]] inline std::size_t widen_ascii(const unsigned char* p, std::size_t n, char16_t* out) {
    std::size_t i = 0;
#if defined(__SSE2__)
    // Sixteen bytes at a time where the processor surely has SSE2. All
    // sixteen are widened, as the room allows: characters past the run are
    // decoded over or lie beyond the result.
    const __m128i zero = _mm_setzero_si128();
    auto widen16 = [&](std::size_t at) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + at));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + at), _mm_unpacklo_epi8(v, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + at + 8), _mm_unpackhi_epi8(v, zero));
        return _mm_movemask_epi8(v);
    };
    if (n >= 16) {
        for (; i + 16 <= n; i += 16)
            if (int high = widen16(i)) return i + static_cast<std::size_t>(__builtin_ctz(high));
        if (i == n) return n;
        // The last sixteen, overlapping bytes already known to be ASCII:
        // the rest without a loop of single bytes.
        int high = widen16(n - 16);
        return high ? n - 16 + static_cast<std::size_t>(__builtin_ctz(high)) : n;
    }
#endif
    for (; i + 8 <= n; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, p + i, 8);
        if (word & 0x8080808080808080u) break;
        for (int k = 0; k < 8; ++k) out[i + k] = p[i + k];
    }
    for (; i < n && p[i] < 0x80; ++i) out[i] = p[i];
    return i;
}

// Narrows the run of ASCII at the start of [text, text + n) into out, which
// has room for n bytes; returns the run's length.
[[gnu::always_inline]] inline std::size_t narrow_ascii(const char16_t* text, std::size_t n, unsigned char* out) {
    std::size_t i = 0;
#if defined(__SSE2__)
    // Eight characters at a time where the processor surely has SSE2, all
    // eight narrowed as widen_ascii does. The mask has two bits for each
    // character above ASCII.
    const __m128i above_ascii = _mm_set1_epi16(static_cast<short>(0xFF80));
    auto narrow8 = [&](std::size_t at) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + at));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + at), _mm_packus_epi16(v, v));
        __m128i ascii = _mm_cmpeq_epi16(_mm_and_si128(v, above_ascii), _mm_setzero_si128());
        return _mm_movemask_epi8(ascii) ^ 0xFFFF;
    };
    if (n >= 8) {
        for (; i + 8 <= n; i += 8)
            if (int high = narrow8(i)) return i + static_cast<std::size_t>(__builtin_ctz(high)) / 2;
        if (i == n) return n;
        int high = narrow8(n - 8);  // the last eight, overlapping
        return high ? n - 8 + static_cast<std::size_t>(__builtin_ctz(high)) / 2 : n;
    }
#endif
    for (; i + 4 <= n; i += 4) {
        std::uint64_t word;
        std::memcpy(&word, text + i, 8);
        if (word & 0xFF80FF80FF80FF80u) break;
        for (int k = 0; k < 4; ++k) out[i + k] = static_cast<unsigned char>(text[i + k]);
    }
    for (; i < n && text[i] < 0x80; ++i) out[i] = static_cast<unsigned char>(text[i]);
    return i;
}

// Decodes the sequence that starts with a byte above 0x7F at bytes[i]:
// writes one or two characters at o and returns the position after what it
// used.
std::size_t decode_sequence(const unsigned char* bytes, std::size_t i, std::size_t n, char16_t*& o) {
    unsigned char b = bytes[i];
    // Two bytes, the usual form of accented letters, Greek and Cyrillic.
    if (b >= 0xC2 && b <= 0xDF && i + 1 < n && continues(bytes[i + 1])) {
        *o++ = static_cast<char16_t>(((b & 0x1F) << 6) | (bytes[i + 1] & 0x3F));
        return i + 2;
    }
    Lead lead = lead_of(b);
    if (lead.continuation_count == 0) {
        *o++ = replacement;
        return i + 1;
    }
    char32_t c = b & (0x3F >> lead.continuation_count);
    std::size_t j = i + 1;
    unsigned char low = lead.low, high = lead.high;
    for (int k = 0; k < lead.continuation_count; ++k, ++j) {
        if (j >= n || bytes[j] < low || bytes[j] > high) {
            *o++ = replacement;  // the maximal subpart, as one
            return j;
        }
        c = (c << 6) | (bytes[j] & 0x3F);
        low = 0x80;
        high = 0xBF;
    }
    if (c >= 0x10000) {
        c -= 0x10000;
        *o++ = static_cast<char16_t>(0xD800 + (c >> 10));
        *o++ = static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    } else {
        *o++ = static_cast<char16_t>(c);
    }
    return j;
}

// Decodes [i, n) into out from position o on (o never runs ahead of i, so
// each run of ASCII has its room). Returns the characters written in all.
std::size_t decode_from(const unsigned char* bytes, std::size_t i, std::size_t n, char16_t* out, char16_t* o) {
    while (i < n) {
        if (bytes[i] < 0x80) {
            std::size_t run = widen_ascii(bytes + i, n - i, o);
            i += run;
            o += run;
        } else {
            i = decode_sequence(bytes, i, n, o);
        }
    }
    return static_cast<std::size_t>(o - out);
}

}  // namespace

std::size_t utf8_decode(const unsigned char* bytes, std::size_t n, char16_t* out) {
    // Most lines are ASCII throughout: widened without the general loop.
    std::size_t run = widen_ascii(bytes, n, out);
    return run == n ? n : decode_from(bytes, run, n, out, out + run);
}

std::size_t utf8_sequence_length(const unsigned char* bytes, std::size_t n) {
    if (bytes[0] < 0x80) return 1;
    const Lead lead = lead_of(bytes[0]);
    const auto count = static_cast<std::size_t>(lead.continuation_count);
    if (count == 0 || n <= count || bytes[1] < lead.low || bytes[1] > lead.high) return 0;
    for (std::size_t k = 2; k <= count; ++k)
        if (!continues(bytes[k])) return 0;
    return 1 + count;
}

std::size_t utf8_well_formed_length(const unsigned char* bytes, std::size_t n) {
    std::size_t i = 0;
    while (i < n) {
        // Eight bytes of ASCII at a time: the usual content of a playlist.
        std::uint64_t word;
        if (n - i >= 8 && (std::memcpy(&word, bytes + i, 8), (word & 0x8080808080808080u) == 0)) {
            i += 8;
            continue;
        }
        std::size_t length = utf8_sequence_length(bytes + i, n - i);
        if (length == 0) return i;
        i += length;
    }
    return n;
}

std::size_t utf8_missing_at_end(const unsigned char* bytes, std::size_t n) {
    std::size_t present = 0;  // continuation bytes at the end
    while (present < 3 && present < n && continues(bytes[n - 1 - present])) ++present;
    if (present == n) return 0;
    const Lead lead = lead_of(bytes[n - 1 - present]);
    const auto count = static_cast<std::size_t>(lead.continuation_count);
    if (count <= present) return 0;
    if (present > 0 && (bytes[n - present] < lead.low || bytes[n - present] > lead.high)) return 0;
    return count - present;
}

std::size_t utf8_encode(const char16_t* text, std::size_t n, unsigned char* out) {
    unsigned char* o = out;
    std::size_t i = 0;
    while (i < n) {
        if (text[i] < 0x80) {
            // o never runs ahead of i, so the run's room is there.
            std::size_t run = narrow_ascii(text + i, n - i, o);
            i += run;
            o += run;
            continue;
        }
        char32_t c = text[i++];
        if (c >= 0xD800 && c <= 0xDFFF) {
            bool paired = c <= 0xDBFF && i < n && text[i] >= 0xDC00 && text[i] <= 0xDFFF;
            if (paired) {
                c = 0x10000 + ((c - 0xD800) << 10) + (text[i++] - 0xDC00);
            } else {
                c = replacement;
            }
        }
        if (c < 0x800) {
            *o++ = static_cast<unsigned char>(0xC0 | (c >> 6));
            *o++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            *o++ = static_cast<unsigned char>(0xE0 | (c >> 12));
            *o++ = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
            *o++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
        } else {
            *o++ = static_cast<unsigned char>(0xF0 | (c >> 18));
            *o++ = static_cast<unsigned char>(0x80 | ((c >> 12) & 0x3F));
            *o++ = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
            *o++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
        }
    }
    return static_cast<std::size_t>(o - out);
}

std::size_t text_to_utf8(const char16_t* text, std::vector<unsigned char>& bytes) {
    std::size_t n = 0;
    if (text)
        while (text[n]) ++n;
    if (bytes.size() < 3 * n) bytes.resize(3 * n);
    return utf8_encode(text, n, bytes.data());
}
