// The program's arguments on Windows: its command line split as the shell
// splits it, each made a full path.
#include "runtime/file/file_given.h"

#include <windows.h>
#include <shellapi.h>

std::vector<std::u16string> file_given_paths() {
    std::vector<std::u16string> paths;
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments) return paths;
    for (int i = 1; i < count; ++i) {
        // The full path: its length first, then the path itself.
        const DWORD length = GetFullPathNameW(arguments[i], 0, nullptr, nullptr);
        std::u16string full(length, u'\0');
        const DWORD written = length ? GetFullPathNameW(arguments[i], length, reinterpret_cast<wchar_t*>(full.data()), nullptr) : 0;
        if (written == 0 || written >= length) {
            paths.push_back(reinterpret_cast<const char16_t*>(arguments[i]));
            continue;
        }
        full.resize(written);
        paths.push_back(full);
    }
    LocalFree(arguments);
    return paths;
}
