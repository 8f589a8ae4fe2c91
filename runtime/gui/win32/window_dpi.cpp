// Densities of runtime windows, and a window moving to a screen of another
// density. The per-monitor functions come from USER32 at run time: systems
// before Windows 10 have none, and there the system's density holds for
// every window (the manifest's dpiAware setting).
#include "runtime/gui/win32/window_dpi.h"

#include <windows.h>

#include <mutex>

#include "runtime/gui/window_scale.h"
#include "runtime/gui/win32/gadget_record.h"
#include "runtime/gui/win32/gui_win32.h"
#include "runtime/gui/win32/toolbar_win32.h"
#include "runtime/gui/win32/window_record.h"

namespace {

struct DpiFunctions {
    UINT(WINAPI* for_window)(HWND) = nullptr;
    UINT(WINAPI* for_system)() = nullptr;
    BOOL(WINAPI* adjust_for_dpi)(RECT*, DWORD, BOOL, DWORD, UINT) = nullptr;
};

template <class Function>
void load(HMODULE library, const char* name, Function* function) {
    *function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

const DpiFunctions& dpi_functions() {
    static const DpiFunctions functions = [] {
        DpiFunctions loaded;
        if (HMODULE user = GetModuleHandleW(L"user32.dll")) {
            load(user, "GetDpiForWindow", &loaded.for_window);
            load(user, "GetDpiForSystem", &loaded.for_system);
            load(user, "AdjustWindowRectExForDpi", &loaded.adjust_for_dpi);
        }
        return loaded;
    }();
    return functions;
}

struct DensityChange {
    HWND window;
    int from;
    int to;
};

// Each control of the window (not its controls' own children) keeps its place
// in units; the toolbar sizes itself.
BOOL CALLBACK rescale_control(HWND control, LPARAM data) {
    const auto& change = *reinterpret_cast<const DensityChange*>(data);
    if (GetParent(control) != change.window) return TRUE;
    if (static_cast<int>(GetWindowLongPtrW(control, GWLP_ID)) == TOOLBAR_CONTROL_ID) return TRUE;
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(HWND_DESKTOP, change.window, reinterpret_cast<POINT*>(&rect), 2);
    auto moved = [&](LONG pixels) { return scale_to_pixels(scale_to_units(pixels, change.from), change.to); };
    MoveWindow(control, moved(rect.left), moved(rect.top), moved(rect.right - rect.left),
               moved(rect.bottom - rect.top), TRUE);
    gadget_dpi_changed(control, change.to);
    return TRUE;
}

}  // namespace

int system_dpi() {
    if (const auto for_system = dpi_functions().for_system) return static_cast<int>(for_system());
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : UNIT_DPI;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : UNIT_DPI;
}

int native_window_dpi(HWND hwnd) {
    const auto for_window = dpi_functions().for_window;
    const UINT dpi = for_window && hwnd ? for_window(hwnd) : 0;
    return dpi ? static_cast<int>(dpi) : system_dpi();
}

int layout_dpi(HWND hwnd) {
    const ObjectNumber number = window_number_of(hwnd);
    if (number != -1) {
        std::lock_guard guard(window_table().lock());
        if (const WindowRecord* record = window_table().find(number); record && record->dpi) return record->dpi;
    }
    return native_window_dpi(hwnd);
}

void outer_rect_for_dpi(RECT* rect, DWORD style, bool menu, DWORD ex_style, int dpi) {
    if (const auto adjust = dpi_functions().adjust_for_dpi) {
        if (adjust(rect, style, menu, ex_style, static_cast<UINT>(dpi))) return;
    }
    AdjustWindowRectEx(rect, style, menu, ex_style);
}

LRESULT window_dpi_changed(HWND hwnd, ObjectNumber number, WPARAM wparam, LPARAM lparam) {
    DensityChange change{hwnd, 0, LOWORD(wparam)};
    {
        std::lock_guard guard(window_table().lock());
        WindowRecord* record = window_record_of(hwnd, number);
        if (!record || change.to <= 0) return DefWindowProcW(hwnd, WM_DPICHANGED, wparam, lparam);
        change.from = record->dpi;
        record->dpi = change.to;
    }
    if (change.from != change.to) {
        EnumChildWindows(hwnd, rescale_control, reinterpret_cast<LPARAM>(&change));
        toolbar_dpi_changed(hwnd, change.to);
    }
    // The new size makes the size event, after which the program lays its
    // gadgets out again, in units, at the new density.
    if (const auto* suggested = reinterpret_cast<const RECT*>(lparam)) {
        SetWindowPos(hwnd, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return 0;
}
