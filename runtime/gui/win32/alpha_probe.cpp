// The graphics probe: do the common controls draw 32-bit images with their own
// alpha? Only version 6 of the controls does, and only while the program is
// themed; older systems never do. When they do, button images need no mask.
#include <windows.h>
#include <shlwapi.h>

#include <atomic>

#include "runtime/gui/toolbar.h"
#include "runtime/gui/win32/toolbar_win32.h"

namespace {

// Until the probe runs, masks are built: a mask is harmless where alpha is drawn.
std::atomic<int> alpha_imagelists{0};

constexpr DWORD COMMON_CONTROLS_6 = 0x60000;  // major << 16 | minor

// The loaded library's version as major << 16 | minor; 1 when it cannot tell,
// 0 when the library is missing.
DWORD common_controls_version() {
    HMODULE library = LoadLibraryW(L"COMCTL32.DLL");
    if (!library) return 0;
    DWORD version = 1;
    auto get_version = reinterpret_cast<DLLGETVERSIONPROC>(
        reinterpret_cast<void*>(GetProcAddress(library, "DllGetVersion")));
    if (get_version) {
        DLLVERSIONINFO info{};
        info.cbSize = sizeof(info);
        version = SUCCEEDED(get_version(&info)) ? (info.dwMajorVersion << 16) + info.dwMinorVersion : 0;
    }
    FreeLibrary(library);
    return version;
}

bool application_themed() {
    HMODULE library = LoadLibraryW(L"uxtheme.dll");
    if (!library) return false;
    using IsAppThemedFn = BOOL(WINAPI*)();
    auto is_app_themed = reinterpret_cast<IsAppThemedFn>(
        reinterpret_cast<void*>(GetProcAddress(library, "IsAppThemed")));
    bool themed = is_app_themed && is_app_themed();
    FreeLibrary(library);
    return themed;
}

}  // namespace

int alpha_imagelists_version_rule(const OSVERSIONINFOW* version) {
    if (!version) return 1;
    if (version->dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) return 0;
    if (version->dwPlatformId == VER_PLATFORM_WIN32_NT
        && (version->dwMajorVersion < 5 || (version->dwMajorVersion == 5 && version->dwMinorVersion == 0)))
        return 0;
    return 1;
}

void toolbar_graphics_probe() {
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof(version);
    int flag = alpha_imagelists_version_rule(GetVersionExW(&version) ? &version : nullptr);
    if (flag) flag = common_controls_version() >= COMMON_CONTROLS_6 && application_themed();
    alpha_imagelists = flag;
}

int toolbar_alpha_imagelists() { return alpha_imagelists; }

void toolbar_alpha_imagelists_force(int value) { alpha_imagelists = value ? 1 : 0; }
