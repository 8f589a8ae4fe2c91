// Shared set-up for the file family's tests: a fresh folder of real files per
// test, raw access to those files that bypasses the family, and reading lines
// the way the application does.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "runtime/core/object_table.h"

class FileTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The path of a file in this test's folder, as the family takes it.
    std::u16string path(const std::string& name) const;
    std::filesystem::path fs_path(const std::string& name) const { return folder_ / name; }

    // Raw bytes, written and read without the family.
    void put(const std::string& name, const std::string& bytes) const;
    std::string get(const std::string& name) const;
    bool exists(const std::string& name) const { return std::filesystem::exists(fs_path(name)); }

private:
    std::filesystem::path folder_;
};

// One line read with file_read_line, taken from the builder and rewound.
std::u16string read_line(ObjectNumber number);

// file_error_text, taken from the builder and rewound.
std::u16string error_text();

// Every line until file_eof reports the end.
std::u16string read_all_lines(ObjectNumber number, char16_t separator = u'|');
// The same lines read at once with file_read_lines.
std::u16string read_lines_at_once(ObjectNumber number, char16_t separator = u'|');

// Takes write permission away from a file (the read-only attribute on
// Windows) and gives it back. writable_anyway says whether this system still
// grants write access (a process running as root does).
void make_read_only(const std::filesystem::path& file);
void make_writable(const std::filesystem::path& file);
bool writable_anyway(const std::filesystem::path& file);

#if !defined(_WIN32)
// Runs body in a child process as a user who is not root and owns nothing
// here (nobody), as a person without rights to a file would; its result
// comes back as the child's exit code (0 to 255).
int as_another_user(int (*body)(void*), void* context);
#endif
