// libFuzzer: arbitrary bytes as a file on disk, read back with file_eof and
// file_read_line, and checked against a separate, deliberately plain splitter
// and a table-driven UTF-8 decoder; without failing reads, read again all at
// once with file_read_lines. Any difference aborts.
//
// Input: byte 0 chooses buffered or unbuffered reading (its low bit), and
// whether reads fail from some offset on, as on a failing card (bit 1; the
// offset is its upper six bits' share of the file); byte 1 how often the
// rest is repeated in the file, which puts whatever the rest holds at many
// offsets, the buffer boundaries among them. A failing read must end the
// reading and make file_finish report it.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <unistd.h>

#include "runtime/file/file.h"
#include "runtime/text/text.h"
#include "tests/support/fault_injection.h"

namespace {

using Bytes = std::vector<unsigned char>;

// Lines as the file service defines them: LF, CR, CR LF and NUL end a line;
// a line is read while any byte is left.
std::vector<Bytes> split_lines(const unsigned char* data, std::size_t size) {
    std::vector<Bytes> lines;
    std::size_t i = 0;
    while (i < size) {
        Bytes line;
        while (i < size) {
            unsigned char b = data[i++];
            if (b == 0 || b == '\n') break;
            if (b == '\r') {
                if (i < size && data[i] == '\n') ++i;
                break;
            }
            line.push_back(b);
        }
        lines.push_back(line);
    }
    return lines;
}

// The well-formed UTF-8 byte sequences, as ranges per byte.
struct Form {
    int length;
    unsigned char low[4];
    unsigned char high[4];
};
constexpr Form forms[] = {
    {1, {0x00}, {0x7F}},
    {2, {0xC2, 0x80}, {0xDF, 0xBF}},
    {3, {0xE0, 0xA0, 0x80}, {0xE0, 0xBF, 0xBF}},
    {3, {0xE1, 0x80, 0x80}, {0xEC, 0xBF, 0xBF}},
    {3, {0xED, 0x80, 0x80}, {0xED, 0x9F, 0xBF}},
    {3, {0xEE, 0x80, 0x80}, {0xEF, 0xBF, 0xBF}},
    {4, {0xF0, 0x90, 0x80, 0x80}, {0xF0, 0xBF, 0xBF, 0xBF}},
    {4, {0xF1, 0x80, 0x80, 0x80}, {0xF3, 0xBF, 0xBF, 0xBF}},
    {4, {0xF4, 0x80, 0x80, 0x80}, {0xF4, 0x8F, 0xBF, 0xBF}},
};

// Bytes at i that agree with a form, up to its length.
std::size_t agreeing(const Form& form, const Bytes& bytes, std::size_t i) {
    std::size_t k = 0;
    while (k < static_cast<std::size_t>(form.length) && i + k < bytes.size() &&
           bytes[i + k] >= form.low[k] && bytes[i + k] <= form.high[k])
        ++k;
    return k;
}

void append_character(std::u16string& text, std::uint32_t c) {
    if (c >= 0x10000) {
        text += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
        text += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
        text += static_cast<char16_t>(c);
    }
}

// Each well-formed sequence gives its character; otherwise the longest run
// of bytes that starts some form (at least one byte) gives one U+FFFD.
std::u16string decode(const Bytes& bytes) {
    std::u16string text;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const Form* whole = nullptr;
        std::size_t longest = 1;
        for (const Form& form : forms) {
            std::size_t k = agreeing(form, bytes, i);
            if (k == static_cast<std::size_t>(form.length)) {
                whole = &form;
                break;
            }
            if (k > longest) longest = k;
        }
        if (!whole) {
            text += u'\uFFFD';
            i += longest;
            continue;
        }
        std::uint32_t c = whole->length == 1 ? bytes[i] : bytes[i] & (0xFF >> (whole->length + 1));
        for (int j = 1; j < whole->length; ++j) c = (c << 6) | (bytes[i + j] & 0x3F);
        append_character(text, c);
        i += static_cast<std::size_t>(whole->length);
    }
    return text;
}

std::u16string file_path;

void remove_file() {
    file_close_all();
    std::error_code ignored;
    std::filesystem::remove(std::filesystem::path(file_path), ignored);
}

void start() {
    if (!text_init() || !file_init()) std::abort();
    text_builder_ensure();
    file_path = (std::filesystem::temp_directory_path() /
                 ("tunelathe-fuzz-lines-" + std::to_string(getpid()) + ".txt"))
                    .u16string();
    std::atexit(remove_file);
}

void fail(const char* what, std::size_t line) {
    std::fprintf(stderr, "file_read_line_fuzz: %s at line %zu\n", what, line);
    std::abort();
}

// The file read again in one call: the same lines, one behind the other.
void check_lines_at_once(bool unbuffered, const std::vector<Bytes>& expected) {
    std::intptr_t opened = unbuffered ? file_open_mode(0, file_path.c_str(), FILE_MODE_OPEN, FILE_UNBUFFERED)
                                      : file_open(0, file_path.c_str());
    if (!opened) fail("open failed", 0);
    const int mark = text_builder_mark();
    const auto count = static_cast<std::size_t>(file_read_lines(0));
    if (count != expected.size()) fail("file_read_lines gave another count", count);
    const char16_t* line = text_builder_address(mark);
    for (std::size_t n = 0; n < count; ++n) {
        std::u16string want = decode(expected[n]);
        if (std::memcmp(line, want.data(), want.size() * sizeof(char16_t)) != 0 || line[want.size()] != 0)
            fail("file_read_lines gave another line", n);
        line += want.size() + 1;
    }
    if (line != text_builder_address(text_builder_mark())) fail("file_read_lines left the builder elsewhere", count);
    text_builder_rewind(mark);
    if (file_eof(0) != (unbuffered ? -1 : 1)) fail("wrong end value after file_read_lines", count);
    if (file_finish(0) != 1) fail("a clean read failed", count);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool started = (start(), true);
    (void)started;
    if (size < 2) return 0;
    // Up to a little over three buffers: enough to cross every kind of refill.
    constexpr std::size_t most = 3 * FILE_BUFFER_SIZE + 200;
    std::vector<unsigned char> content;
    for (int copy = 0; copy <= data[1] && content.size() + size - 2 <= most; ++copy)
        content.insert(content.end(), data + 2, data + size);

    std::filesystem::path path(file_path);
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) std::abort();
    if (!content.empty() && std::fwrite(content.data(), 1, content.size(), out) != content.size())
        std::abort();
    std::fclose(out);

    bool unbuffered = (data[0] & 1) != 0;
    std::intptr_t opened = unbuffered
        ? file_open_mode(0, file_path.c_str(), FILE_MODE_OPEN, FILE_UNBUFFERED)
        : file_open(0, file_path.c_str());
    if (!opened) fail("open failed", 0);
    const bool failing = (data[0] & 2) != 0;
    std::optional<FailingReads> failure;
    if (failing) failure.emplace(path, content.size() * (data[0] >> 2) / 63);

    std::vector<Bytes> expected = split_lines(content.data(), content.size());
    std::size_t n = 0;
    bool differed = false;  // with failing reads, the line cut off by the failure
    while (file_eof(0) == 0) {
        if (n == expected.size()) fail("more lines than expected", n);
        if (differed) fail("a line read after the failure", n);
        std::u16string want = decode(expected[n]);
        int mark = text_builder_mark();
        const char16_t* line = file_read_line(0);
        std::size_t length = static_cast<std::size_t>(text_builder_mark() - mark) / 2;
        if (line != text_builder_address(mark)) fail("line not built at the mark", n);
        if (line[length] != 0) fail("line not terminated", n);
        if (length != want.size() || std::memcmp(line, want.data(), length * sizeof(char16_t)) != 0) {
            if (!failing) fail("wrong line text", n);
            differed = true;
        }
        text_builder_rewind(mark);
        ++n;
    }
    if (!failing && n != expected.size()) fail("fewer lines than expected", n);
    if (file_eof(0) != (unbuffered ? -1 : 1)) fail("wrong end value", n);
    if (file_finish(0) != (failing ? 0 : 1)) fail(failing ? "a failed read went unreported" : "a clean read failed", n);
    if (!failing) check_lines_at_once(unbuffered, expected);
    return 0;
}
