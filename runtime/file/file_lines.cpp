// Line-oriented text input and output: UTF-8 lines on disk, UTF-16 texts in
// memory. A line ends at LF, CR, CR LF or a NUL byte, or at the end of the
// file; output lines end in CR LF.
#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "runtime/file/file.h"
#include "runtime/file/file_record.h"
#include "runtime/file/utf8.h"
#include "runtime/text/text.h"

namespace {

struct LineBytes {
    const unsigned char* data;
    std::size_t size;
};

// A long text is written in pieces of this many characters, so that the
// scratch space stays small instead of growing to three bytes a character of
// the whole text; pieces of several buffers make few, large writes.
constexpr std::size_t WRITE_PIECE = 2 * FILE_BUFFER_SIZE;

// Reused between calls (under the family's lock) so that reading and writing
// lines does not allocate for every line.
std::vector<unsigned char> scratch;

// One very long line read should not pin its memory for the rest of the run.
void trim_scratch() {
    if (scratch.capacity() > 3 * WRITE_PIECE) std::vector<unsigned char>().swap(scratch);
}

bool ends_line(unsigned char b) { return b == 0 || b == '\n' || b == '\r'; }

// Offset of the first byte in [p, p + n) that ends a line, or n.
std::size_t find_line_end(const unsigned char* p, std::size_t n) {
    std::size_t i = 0;
#if defined(__SSE2__)
    // Sixteen bytes at a time where the processor surely has SSE2 (x86_64).
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i nul = _mm_setzero_si128();
    for (; i + 16 <= n; i += 16) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        __m128i hits = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, cr)),
                                    _mm_cmpeq_epi8(v, nul));
        if (int mask = _mm_movemask_epi8(hits)) return i + static_cast<std::size_t>(__builtin_ctz(mask));
    }
#else
    // Words are screened for any byte below 14 before the bytes are looked at.
    constexpr std::uint64_t ones = 0x0101010101010101u;
    constexpr std::uint64_t highs = 0x8080808080808080u;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, p + i, 8);
        if (((word - ones * 14) & ~word & highs) == 0) continue;
        for (std::size_t k = i; k < i + 8; ++k)
            if (ends_line(p[k])) return k;
    }
#endif
    for (; i < n; ++i)
        if (ends_line(p[i])) return i;
    return n;
}

void append(std::vector<unsigned char>& bytes, const unsigned char* p, std::size_t n) {
    bytes.insert(bytes.end(), p, p + n);
}

// After a CR: a following LF belongs to the same line end; any other byte is
// given back.
void skip_lf_after_cr(FileRecord& f) {
    if (f.writing != 0 && f.count > 0) {  // the usual case, looked at in place
        if (f.buffer[f.filled - f.count] == '\n') f.count -= 1;
        return;
    }
    unsigned char b;
    if (file_read_bytes(f, &b, 1) == 1 && b != '\n') file_unread_byte(f);
}

void skip_lf_after_cr_unbuffered(FileRecord& f) {
    unsigned char b;
    if (file_read_raw(f, &b, 1) == 1 && b != '\n') file_handle_seek(f.handle, -1, FileOrigin::current);
}

// One byte the ordinary way for either kind of file, and its giving back.
std::size_t read_byte(FileRecord& f, unsigned char& b) {
    return f.buffer ? file_read_bytes(f, &b, 1) : file_read_raw(f, &b, 1);
}
void unread_byte(FileRecord& f) {
    if (f.buffer) file_unread_byte(f);
    else file_handle_seek(f.handle, -1, FileOrigin::current);
}

// A line cut at the limit ends with a whole character: the bytes that
// complete the last one join it, so that neither half shows a replacement
// character. Bytes that cannot complete it stay for the next line.
void complete_character(FileRecord& f) {
    if (f.text_form != FILE_TEXT_UTF8) return;
    std::size_t missing = utf8_missing_at_end(scratch.data(), scratch.size());
    if (missing == 0) return;
    unsigned char b;
    for (; missing > 0; --missing) {
        if (read_byte(f, b) == 0) return;
        if ((b & 0xC0) != 0x80) {
            unread_byte(f);
            return;
        }
        scratch.push_back(b);
    }
    // The line may end right after the character: then that line end is
    // this line's, as after any line, not an empty line of its own.
    if (read_byte(f, b) == 0) return;
    if (b == '\r') f.buffer ? skip_lf_after_cr(f) : skip_lf_after_cr_unbuffered(f);
    else if (b != '\n' && b != 0) unread_byte(f);
}

// Whether the n bytes are the start of one well-formed character, no more.
bool starts_a_character(const unsigned char* bytes, std::size_t n) {
    for (std::size_t k = 1; k < n; ++k)
        if ((bytes[k] & 0xC0) != 0x80) return false;
    return utf8_missing_at_end(bytes, n) > 0;
}

// The decoded line at the builder's current position, which is left at its
// end (before the terminator).
char16_t* build_text(LineBytes line, int text_form = FILE_TEXT_UTF8) {
    // Never more characters than bytes; the builder always has room for the
    // terminator behind its position.
    int room = static_cast<int>(line.size);
    char16_t* out = text_builder_reserve(room, -1);
    int length = room;
    if (text_form == FILE_TEXT_LATIN1) std::copy(line.data, line.data + line.size, out);
    else length = static_cast<int>(utf8_decode(line.data, line.size, out));
    out[length] = 0;
    if (length < room) text_builder_release(room - length);
    return out;
}

// The common case: a line that lies whole in the buffer, decoded from there.
// nullptr, with nothing consumed or built, when the line goes on past the
// buffer.
char16_t* read_line_in_buffer(FileRecord& f) {
    if (!f.buffer || f.writing == 0 || f.count == 0) return nullptr;
    const unsigned char* start = f.buffer + (f.filled - f.count);
    std::size_t end = find_line_end(start, static_cast<std::size_t>(f.count));
    if (end == static_cast<std::size_t>(f.count)) return nullptr;
    char16_t* text = build_text({start, end}, f.text_form);
    f.count -= static_cast<std::int32_t>(end + 1);
    // The line is decoded already: a refill for the look after a CR is harmless.
    if (start[end] == '\r') skip_lf_after_cr(f);
    return text;
}

// One line from a buffered file, in general: a line that goes on past the
// buffer, or that follows output, is collected across refills.
LineBytes read_line_buffered(FileRecord& f) {
    scratch.clear();
    for (;;) {
        if (f.writing != 0 && f.count > 0) {
            const unsigned char* start = f.buffer + (f.filled - f.count);
            std::size_t available = static_cast<std::size_t>(f.count);
            std::size_t end = find_line_end(start, available);
            if (scratch.size() + end > static_cast<std::size_t>(FILE_LINE_LIMIT)) {
                std::size_t taken = FILE_LINE_LIMIT - scratch.size();
                append(scratch, start, taken);
                f.count -= static_cast<std::int32_t>(taken);
                complete_character(f);
                break;
            }
            append(scratch, start, end);
            if (end == available) {
                f.count = 0;
                continue;
            }
            f.count -= static_cast<std::int32_t>(end + 1);
            if (start[end] == '\r') skip_lf_after_cr(f);
            break;
        }
        // Empty buffer, or output pending: one byte the ordinary way, which
        // flushes or refills.
        unsigned char b;
        if (file_read_bytes(f, &b, 1) == 0 || b == 0 || b == '\n') break;
        if (b == '\r') {
            skip_lf_after_cr(f);
            break;
        }
        if (scratch.size() == static_cast<std::size_t>(FILE_LINE_LIMIT)) {
            file_unread_byte(f);
            complete_character(f);
            break;
        }
        scratch.push_back(b);
    }
    return {scratch.data(), scratch.size()};
}

// One line from an unbuffered file, a system call per byte.
LineBytes read_line_unbuffered(FileRecord& f) {
    scratch.clear();
    unsigned char b;
    while (file_read_raw(f, &b, 1) == 1 && b != 0 && b != '\n') {
        if (b == '\r') {
            skip_lf_after_cr_unbuffered(f);
            break;
        }
        if (scratch.size() == static_cast<std::size_t>(FILE_LINE_LIMIT)) {
            file_handle_seek(f.handle, -1, FileOrigin::current);
            complete_character(f);
            break;
        }
        scratch.push_back(b);
    }
    return {scratch.data(), scratch.size()};
}

// Any other line, built once collected. Kept out of line: inlined, it made
// the usual path of file_read_line measurably slower.
[[gnu::noinline]] char16_t* read_line_collected(FileRecord& f) {
    char16_t* text = build_text(f.buffer ? read_line_buffered(f) : read_line_unbuffered(f), f.text_form);
    trim_scratch();
    return text;
}

// The characters before the terminator, eight at a time from addresses
// aligned to sixteen bytes. Such a read never reaches into another page, so
// reading on past the terminator is harmless, though outside the text: the
// address checker is told so.
__attribute__((no_sanitize("address"))) std::size_t text_length(const char16_t* text) {
#if defined(__SSE2__)
    auto address = reinterpret_cast<std::uintptr_t>(text);
    if (address % 2 == 0) {
        const __m128i zero = _mm_setzero_si128();
        const auto* block = reinterpret_cast<const __m128i*>(address & ~std::uintptr_t{15});
        // The bits of the bytes before the text go.
        int found = _mm_movemask_epi8(_mm_cmpeq_epi16(_mm_load_si128(block), zero)) >> (address & 15);
        if (found) return static_cast<std::size_t>(__builtin_ctz(found)) / 2;
        do found = _mm_movemask_epi8(_mm_cmpeq_epi16(_mm_load_si128(++block), zero));
        while (found == 0);
        return (reinterpret_cast<std::uintptr_t>(block) - address + static_cast<std::size_t>(__builtin_ctz(found))) / 2;
    }
#endif
    return std::char_traits<char16_t>::length(text);
}

// The usual case: a line that surely fits in the buffer's free room, encoded
// there with its CR LF. 0, with nothing written, when it might not fit, or
// the buffer is not taking output.
std::size_t write_line_in_buffer(FileRecord& f, const char16_t* text, std::size_t n) {
    // As with file_write_bytes, the buffer is never left full.
    if (!f.buffer || f.writing != 0 || 3 * n + 2 >= static_cast<std::size_t>(f.count)) return 0;
    unsigned char* out = f.buffer + (f.buffer_size - f.count);
    std::size_t length = utf8_encode(text, n, out);
    out[length] = '\r';
    out[length + 1] = '\n';
    f.count -= static_cast<std::int32_t>(length + 2);
    return length + 2;
}

std::size_t write_out(FileRecord& f, const void* bytes, std::size_t n) {
    return f.buffer ? file_write_bytes(f, bytes, n) : file_handle_write(f.handle, bytes, n);
}

// file_eof's answer for a file already looked up.
int at_end(FileRecord& f) {
    unsigned char b;
    if (f.buffer) {
        if (f.writing != 0 && f.count > 0) return 0;  // a byte is waiting in the buffer
        if (file_read_bytes(f, &b, 1) == 0) return 1;
        file_unread_byte(f);
        return 0;
    }
    if (file_read_raw(f, &b, 1) == 0) return -1;
    file_handle_seek(f.handle, -1, FileOrigin::current);
    return 0;
}

}  // namespace

char16_t* file_read_line(ObjectNumber number) {
    FileLookup file = file_lookup(number);
    if (!file.record) return build_text({nullptr, 0});
    FileRecord& f = *file.record;
    char16_t* text = read_line_in_buffer(f);
    if (!text) return read_line_collected(f);
    if (f.count > 0) file_note_waiting(number);
    return text;
}

int file_read_lines(ObjectNumber number) {
    FileLookup file = file_lookup(number);
    if (!file.record) return 0;
    FileRecord& f = *file.record;
    int count = 0;
    for (; at_end(f) == 0; ++count) {
        if (!read_line_in_buffer(f)) read_line_collected(f);
        text_builder_reserve(1, -1);  // past the line's null, which stays
    }
    return count;
}

int file_write_line(ObjectNumber number, const char16_t* text) {
    FileLookup file = file_lookup(number);
    if (!file.record || file.record->lost) return 0;
    FileRecord& f = *file.record;
    std::size_t n = text ? text_length(text) : 0;
    if (std::size_t bytes = write_line_in_buffer(f, text, n)) return static_cast<int>(bytes);
    std::size_t written = 0;
    if (scratch.size() < 3 * WRITE_PIECE) scratch.resize(3 * WRITE_PIECE);
    bool whole = true;
    for (std::size_t done = 0; done < n && whole;) {
        std::size_t piece = std::min(n - done, WRITE_PIECE);
        // A surrogate pair stays whole: split, each half would become U+FFFD.
        if (done + piece < n && text[done + piece - 1] >= 0xD800 && text[done + piece - 1] <= 0xDBFF) --piece;
        std::size_t length = utf8_encode(text + done, piece, scratch.data());
        // Once a piece fails, later ones would leave a hole inside the line.
        whole = write_out(f, scratch.data(), length) == length;
        written += length;
        done += piece;
    }
    static constexpr unsigned char line_end[2] = {'\r', '\n'};
    whole = whole && write_out(f, line_end, 2) == 2;
    trim_scratch();
    if (!whole) {
        f.lost = 1;
        return 0;
    }
    return static_cast<int>(std::min<std::size_t>(written + 2, INT_MAX));
}

int file_eof(ObjectNumber number) {
    if (file_noted_waiting(number)) return 0;
    FileLookup file = file_lookup(number);
    return file.record ? at_end(*file.record) : 0;
}

int file_detect_text(ObjectNumber number) {
    FileLookup file = file_lookup(number);
    if (!file.record) return 0;
    FileRecord& f = *file.record;
    if (f.writing == 0) {  // pending output first, as any read does
        if (!file_flush(f)) return 0;
        f.writing = 1;
        f.count = 0;
    }
    // What is buffered, then the rest of the file in large pieces, each
    // looked at where it joins the next: a character may span two.
    std::vector<unsigned char> seen(f.buffer ? f.buffer + (f.filled - f.count) : nullptr,
                                    f.buffer ? f.buffer + f.filled : nullptr);
    constexpr std::size_t piece = 1 << 16;
    bool marked = false, well_formed = true;
    std::int64_t taken = 0;
    for (bool first = true; well_formed; first = false) {
        std::size_t held = seen.size();
        seen.resize(held + piece);
        std::size_t got = file_read_raw(f, seen.data() + held, piece);
        taken += static_cast<std::int64_t>(got);
        seen.resize(held + got);
        // A byte-order mark says UTF-8 whatever follows: nothing more to look at.
        if (first && (marked = seen.size() >= 3 && seen[0] == 0xEF && seen[1] == 0xBB && seen[2] == 0xBF)) break;
        std::size_t whole = utf8_well_formed_length(seen.data(), seen.size());
        // Only a character cut off by the piece's end may wait for the next.
        std::size_t rest = seen.size() - whole;
        well_formed = rest == 0 || (got > 0 && starts_a_character(seen.data() + whole, rest));
        seen.erase(seen.begin(), seen.begin() + static_cast<std::ptrdiff_t>(whole));
        if (got == 0) break;
    }
    if (f.read_error != 0 || !file_handle_seek(f.handle, -taken, FileOrigin::current)) return 0;
    f.text_form = marked || well_formed ? FILE_TEXT_UTF8 : FILE_TEXT_LATIN1;
    return f.text_form;
}
