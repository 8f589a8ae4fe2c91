#include "tests/support/wine_path.h"

#include <cstdlib>

#include "tests/support/test_folder.h"

std::wstring wine_path(const std::string& unix_path) {
    std::wstring result;
    if (!unix_path.empty() && unix_path[0] == '/') result = L"Z:";
    for (char c : unix_path) result += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    return result;
}

std::wstring wine_folder_from(const char* variable) {
    const char* folder = std::getenv(variable);
    return folder ? wine_path(folder) : std::wstring();
}

std::filesystem::path test_folder_from(const char* variable) { return wine_folder_from(variable); }
