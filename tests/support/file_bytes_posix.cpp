#include "tests/support/file_bytes.h"

#include <fcntl.h>
#include <unistd.h>

std::string native_path(const std::wstring& path) {
    std::string bytes;
    for (const wchar_t wide : path) {
        const auto c = static_cast<char32_t>(wide);
        if (c < 0x80) {
            bytes += static_cast<char>(c);
        } else if (c < 0x800) {
            bytes += static_cast<char>(0xC0 | (c >> 6));
            bytes += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            bytes += static_cast<char>(0xE0 | (c >> 12));
            bytes += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            bytes += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            bytes += static_cast<char>(0xF0 | (c >> 18));
            bytes += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            bytes += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            bytes += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return bytes;
}

std::optional<std::string> read_file_bytes(const std::wstring& path) {
    const int file = open(native_path(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0) return std::nullopt;
    std::string bytes;
    char buffer[65536];
    for (ssize_t got; (got = read(file, buffer, sizeof buffer)) > 0;) bytes.append(buffer, static_cast<std::size_t>(got));
    close(file);
    return bytes;
}

bool write_file_bytes(const std::wstring& path, const std::string& bytes) {
    const int file = open(native_path(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (file < 0) return false;
    bool ok = true;
    for (std::size_t done = 0; ok && done < bytes.size();) {
        const ssize_t wrote = write(file, bytes.data() + done, bytes.size() - done);
        ok = wrote > 0;
        if (ok) done += static_cast<std::size_t>(wrote);
    }
    return close(file) == 0 && ok;
}
