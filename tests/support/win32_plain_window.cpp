#include "tests/support/win32_plain_window.h"

HWND plain_window(const wchar_t* title, DWORD style, DWORD ex_style, int width, int height) {
    static const ATOM window_class = [] {
        WNDCLASSEXW description{};
        description.cbSize = sizeof(description);
        description.lpfnWndProc = DefWindowProcW;
        description.hInstance = GetModuleHandleW(nullptr);
        description.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        description.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        description.lpszClassName = L"TunelathePlainWindow";
        return RegisterClassExW(&description);
    }();
    return CreateWindowExW(ex_style, MAKEINTATOM(window_class), title, style, 40, 40, width, height, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}
