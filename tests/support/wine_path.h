// Unix paths as Windows test programs under Wine see them.
#pragma once

#include <string>

// A Unix path as Wine shows it to Windows programs: the Unix root is drive Z:.
std::wstring wine_path(const std::string& unix_path);

// The folder a test wrapper named in an environment variable (a Unix path),
// as a Windows path; empty when the variable is not set.
std::wstring wine_folder_from(const char* variable);
