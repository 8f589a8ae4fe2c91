// Paths as the bytes Linux names files with. Names are normally UTF-8, but a
// name may hold any bytes but "/" and NUL; each byte that is not part of a
// well-formed UTF-8 sequence becomes a lone surrogate U+DC80..U+DCFF in the
// runtime's text and that byte again on the way back, so every name the
// system gives can be opened again. Shown to a person, such a surrogate reads
// as U+FFFD.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The bytes of a path (or of several joined by LF); a null path reads as empty.
std::string path_bytes_of(std::u16string_view path);
inline std::string path_bytes_of(const char16_t* path) {
    return path_bytes_of(path ? std::u16string_view(path) : std::u16string_view());
}
std::u16string path_text_of(const char* bytes, std::size_t length);
// The same into out, which has room for length characters (never more are
// needed); returns the number written, no terminator.
std::size_t path_text_decode(const char* bytes, std::size_t length, char16_t* out);
inline std::u16string path_text_of(const std::string& bytes) { return path_text_of(bytes.data(), bytes.size()); }
