// Files on disk as a test checks them: byte for byte.
#pragma once

#include <optional>
#include <string>

// The file's bytes; nothing when it cannot be opened. Others may be writing it.
std::optional<std::string> read_file_bytes(const std::wstring& path);

// Makes the file hold exactly these bytes; false when it could not.
bool write_file_bytes(const std::wstring& path, const std::string& bytes);

#if !defined(_WIN32)
// The name's bytes of a path held as wide text: UTF-8, as the tests write names.
std::string native_path(const std::wstring& path);
#endif
