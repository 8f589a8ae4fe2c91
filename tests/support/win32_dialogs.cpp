#include "tests/support/win32_dialogs.h"

#include <dlgs.h>

#include <thread>

std::wstring window_text(HWND hwnd) {
    int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), length + 1)));
    return text;
}

std::wstring class_of(HWND hwnd) {
    wchar_t name[64] = L"";
    GetClassNameW(hwnd, name, 64);
    return name;
}

LRESULT send_to(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(hwnd, message, wparam, lparam, SMTO_ABORTIFHUNG, 5000, &result);
    return static_cast<LRESULT>(result);
}

bool eventually(const std::function<bool()>& check, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!check()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

void press_button(HWND dialog, int id) {
    if (HWND button = GetDlgItem(dialog, id)) {
        send_to(button, BM_CLICK);
    } else {
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    }
}

std::wstring message_text(HWND box) {
    std::wstring found;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (class_of(child) == L"Static" && !window_text(child).empty()) found = window_text(child);
    return found;
}

namespace {

BOOL CALLBACK collect_dialog(HWND hwnd, LPARAM found) {
    if (class_of(hwnd) == L"#32770" && IsWindowVisible(hwnd)) reinterpret_cast<std::vector<HWND>*>(found)->push_back(hwnd);
    return TRUE;
}

}  // namespace

void pump_messages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

std::vector<HWND> dialogs_of(DWORD thread_id) {
    std::vector<HWND> found;
    EnumThreadWindows(thread_id, collect_dialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND name_field(HWND dialog) {
    if (HWND combo = GetDlgItem(dialog, cmb13)) {
        if (HWND edit = FindWindowExW(combo, nullptr, L"Edit", nullptr)) return edit;
        return combo;
    }
    return GetDlgItem(dialog, edt1);
}
