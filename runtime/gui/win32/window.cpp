// Operations on open windows: showing, size limits, colour, size, title,
// the cursor position; and how native windows map to window numbers.
#include <windows.h>

#include <algorithm>
#include <mutex>

#include "runtime/gui/window.h"
#include "runtime/gui/win32/gui_win32.h"
#include "runtime/gui/win32/window_record.h"

namespace {

thread_local HWND current_gadget_parent = nullptr;

HWND handle_of(ObjectNumber number) {
    WindowRecord* record = window_table().find(number);
    return record ? record->handle : nullptr;
}

// Inner size to outer size for the window's current frame, menu and extended style.
SIZE outer_size(HWND hwnd, int inner_width, int inner_height) {
    RECT rect{0, 0, inner_width, inner_height};
    AdjustWindowRectEx(&rect, static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE)), GetMenu(hwnd) != nullptr,
                       static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE)));
    return {rect.right - rect.left, rect.bottom - rect.top};
}

// 0 or less means no limit; the platform keeps tracking sizes in 16 bits.
std::uint16_t limit_value(int inner, int outer) {
    if (inner <= 0) return 0;
    return static_cast<std::uint16_t>(std::clamp(outer, 1, 0xFFFF));
}

POINT cursor_in_client(HWND hwnd, bool* inside) {
    POINT point{};
    RECT client{};
    *inside = hwnd && GetCursorPos(&point) && ScreenToClient(hwnd, &point) && GetClientRect(hwnd, &client) &&
              PtInRect(&client, point);
    return point;
}

}  // namespace

ObjectNumber window_number_of(HWND hwnd) {
    const HWND desktop = GetDesktopWindow();
    // Parents only: an owned pop-up is a window of its own, not its owner's.
    for (HWND h = hwnd; h && h != desktop; h = GetAncestor(h, GA_PARENT)) {
        if (HANDLE id = GetPropW(h, WINDOW_ID_PROPERTY)) return reinterpret_cast<ObjectNumber>(id) - 1;
    }
    return -1;
}

WindowRecord* window_record_of(HWND hwnd) {
    if (!hwnd) return nullptr;
    HANDLE id = GetPropW(hwnd, WINDOW_ID_PROPERTY);
    return id ? window_record_of(hwnd, reinterpret_cast<ObjectNumber>(id) - 1) : nullptr;
}

WindowRecord* window_record_of(HWND hwnd, ObjectNumber number) {
    if (!hwnd || number == -1) return nullptr;
    WindowRecord* record = window_table().find(number);
    // A number found on an ancestor names the ancestor's record, not this window's.
    return record && record->handle == hwnd ? record : nullptr;
}

void gadget_parent_set(HWND parent) { current_gadget_parent = parent; }
HWND gadget_parent() { return current_gadget_parent; }

void window_hide(ObjectNumber number, int hide, int flags) {
    HWND hwnd = handle_of(number);
    if (!hwnd) return;
    if (hide) {
        if (HWND owner = GetWindow(hwnd, GW_OWNER)) SetActiveWindow(owner);
        ShowWindow(hwnd, SW_HIDE);
        return;
    }
    const bool activate = (flags & WINDOW_SHOW_NO_ACTIVATE) == 0;
    int show = activate ? SW_SHOW : SW_SHOWNA;
    if (IsZoomed(hwnd)) show = activate ? SW_SHOWMAXIMIZED : SW_SHOWNA;
    else if (IsIconic(hwnd)) show = activate ? SW_SHOWMINIMIZED : SW_SHOWMINNOACTIVE;
    ShowWindow(hwnd, show);
}

void window_bounds(ObjectNumber number, int min_width, int min_height, int max_width, int max_height) {
    auto& table = window_table();
    std::lock_guard guard(table.lock());
    WindowRecord* record = table.find(number);
    if (!record) return;
    const SIZE min_outer = outer_size(record->handle, min_width, min_height);
    const SIZE max_outer = outer_size(record->handle, max_width, max_height);
    if (min_width != IGNORE_VALUE) record->min_width = limit_value(min_width, min_outer.cx);
    if (min_height != IGNORE_VALUE) record->min_height = limit_value(min_height, min_outer.cy);
    if (max_width != IGNORE_VALUE) record->max_width = limit_value(max_width, max_outer.cx);
    if (max_height != IGNORE_VALUE) record->max_height = limit_value(max_height, max_outer.cy);
}

void window_color_set(ObjectNumber number, int colour) {
    HWND hwnd;
    {
        auto& table = window_table();
        std::lock_guard guard(table.lock());
        WindowRecord* record = table.find(number);
        if (!record || record->colour == colour) return;
        if (record->brush) DeleteObject(record->brush);
        record->brush = colour == -1 ? nullptr : CreateSolidBrush(static_cast<COLORREF>(colour) & 0xFFFFFF);
        record->colour = colour;
        hwnd = record->handle;
    }
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
}

std::intptr_t window_handle(ObjectNumber number) { return reinterpret_cast<std::intptr_t>(handle_of(number)); }

int window_width(ObjectNumber number, int inner) {
    HWND hwnd = handle_of(number);
    RECT rect{};
    if (!hwnd || !(inner ? GetClientRect(hwnd, &rect) : GetWindowRect(hwnd, &rect))) return 0;
    return rect.right - rect.left;
}

int window_height(ObjectNumber number, int inner) {
    HWND hwnd = handle_of(number);
    RECT rect{};
    if (!hwnd || !(inner ? GetClientRect(hwnd, &rect) : GetWindowRect(hwnd, &rect))) return 0;
    int height = rect.bottom - rect.top;
    if (inner && GetMenu(hwnd)) height += GetSystemMetrics(SM_CYMENU);
    return height;
}

void window_title_set(ObjectNumber number, const char16_t* title) {
    HWND hwnd = handle_of(number);
    if (hwnd && title) SetWindowTextW(hwnd, reinterpret_cast<const wchar_t*>(title));
}

int window_mouse_x(ObjectNumber number) {
    bool inside;
    POINT point = cursor_in_client(handle_of(number), &inside);
    return inside ? point.x : -1;
}

int window_mouse_y(ObjectNumber number) {
    bool inside;
    POINT point = cursor_in_client(handle_of(number), &inside);
    return inside ? point.y : -1;
}

int desktop_mouse_x() {
    POINT point{};
    return GetCursorPos(&point) ? point.x : 0;
}

int desktop_mouse_y() {
    POINT point{};
    return GetCursorPos(&point) ? point.y : 0;
}
