#include "runtime/gui/drop_uri_list.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/file/path_bytes.h"
#include "runtime/gui/drop_file_list.h"

namespace {

constexpr std::string_view FILE_SCHEME = "file:";

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool same_ignoring_case(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

int hex_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (lower(c) >= 'a' && lower(c) <= 'f') return lower(c) - 'a' + 10;
    return -1;
}

std::string_view trimmed(std::string_view line) {
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
    return line;
}

// A byte of a URI's path that is itself, not an escape ("%"), nor a byte no
// file URI's path holds (a control character, "?" or "#").
bool stands_for_itself(unsigned char c) { return c >= 0x20 && c != 0x7F && c != '?' && c != '#' && c != '%'; }

// The unescaped path of a local file URI, into path (reused from entry to
// entry); false when the entry is refused.
bool local_file_path(std::string_view entry, std::string_view local_host, std::string& path) {
    if (!same_ignoring_case(entry.substr(0, FILE_SCHEME.size()), FILE_SCHEME)) return false;
    std::string_view rest = entry.substr(FILE_SCHEME.size());
    if (rest.substr(0, 2) == "//") {
        rest.remove_prefix(2);
        const std::size_t slash = rest.find('/');
        if (slash == std::string_view::npos) return false;
        const std::string_view host = rest.substr(0, slash);
        if (!host.empty() && !same_ignoring_case(host, "localhost") && !same_ignoring_case(host, local_host))
            return false;
        rest.remove_prefix(slash);
    }
    if (rest.empty() || rest.front() != '/') return false;
    path.clear();
    for (std::size_t i = 0; i < rest.size();) {
        // The run of bytes that stand for themselves is copied at once.
        const std::size_t run_start = i;
        while (i < rest.size() && stands_for_itself(static_cast<unsigned char>(rest[i]))) ++i;
        path.append(rest.data() + run_start, i - run_start);
        if (i == rest.size()) break;
        if (rest[i] != '%') return false;
        const int high = rest.size() - i > 2 ? hex_value(rest[i + 1]) : -1;
        const int low = high >= 0 ? hex_value(rest[i + 2]) : -1;
        if (low < 0) return false;
        const auto c = static_cast<unsigned char>(high * 16 + low);
        // An escaped "/" would join two names into one; a line end would
        // split one name in two where names go joined by line feeds.
        if (c < 0x20 || c == 0x7F || c == '/') return false;
        path += static_cast<char>(c);
        i += 3;
    }
    return true;
}

}  // namespace

void* drop_uri_list_files(const char* list, std::size_t size, std::string_view local_host,
                          std::size_t* block_size) {
    *block_size = 0;
    if (!list) return nullptr;
    while (size > 0 && list[size - 1] == '\0') --size;
    const std::string_view text(list, size);
    if (text.find('\0') != std::string_view::npos) return nullptr;
    // A name has no more characters than its entry has bytes beyond "file:",
    // which leaves room for its null: the list's size, and the closing null.
    const std::size_t room = size + 1;
    if (room > (SIZE_MAX - DROP_FILE_LIST_HEADER_SIZE) / sizeof(char16_t)) return nullptr;
    auto* block = static_cast<unsigned char*>(std::malloc(DROP_FILE_LIST_HEADER_SIZE + room * sizeof(char16_t)));
    if (!block) return nullptr;
    auto* names = reinterpret_cast<char16_t*>(block + DROP_FILE_LIST_HEADER_SIZE);

    std::size_t written = 0;
    std::size_t count = 0;
    std::string path;
    for (std::size_t start = 0; start < size;) {
        std::size_t end = start;
        while (end < size && text[end] != '\r' && text[end] != '\n') ++end;
        const std::string_view entry = trimmed(text.substr(start, end - start));
        start = end + 1;
        if (entry.empty() || entry.front() == '#') continue;
        if (!local_file_path(entry, local_host, path)) {
            std::free(block);
            return nullptr;
        }
        written += path_text_decode(path.data(), path.size(), names + written);
        names[written++] = u'\0';
        ++count;
    }
    if (count == 0) {
        std::free(block);
        return nullptr;
    }
    names[written++] = u'\0';

    std::memset(block, 0, DROP_FILE_LIST_HEADER_SIZE);
    const std::uint32_t offset = DROP_FILE_LIST_HEADER_SIZE, wide = 1;
    std::memcpy(block, &offset, sizeof offset);
    std::memcpy(block + 16, &wide, sizeof wide);
    *block_size = DROP_FILE_LIST_HEADER_SIZE + written * sizeof(char16_t);
    return block;
}
