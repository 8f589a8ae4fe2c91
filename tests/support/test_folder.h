// The folders test wrappers name in environment variables, on every platform.
#pragma once

#include <filesystem>

// The folder the variable names (a Unix path) as this platform's file
// functions take it; empty when the variable is not set.
std::filesystem::path test_folder_from(const char* variable);
