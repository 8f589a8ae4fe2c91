// Operations on open windows: showing, size limits, colour, size, title,
// the cursor position; and how native windows map to window numbers.
#include <windows.h>

#include <algorithm>
#include <mutex>

#include "runtime/gui/window.h"
#include "runtime/gui/window_scale.h"
#include "runtime/gui/win32/gui_win32.h"
#include "runtime/gui/win32/window_dpi.h"
#include "runtime/gui/win32/window_record.h"

namespace {

thread_local HWND current_gadget_parent = nullptr;

HWND handle_of(ObjectNumber number) {
    WindowRecord* record = window_table().find(number);
    return record ? record->handle : nullptr;
}

// The window and the density it is laid out at; no window: nullptr.
struct LaidOut {
    HWND handle;
    int dpi;
};

LaidOut laid_out(ObjectNumber number) {
    std::lock_guard guard(window_table().lock());
    WindowRecord* record = window_table().find(number);
    return record ? LaidOut{record->handle, record->dpi} : LaidOut{nullptr, 0};
}

// An inner length in units as an outer one for the window's current frame,
// menu and extended style at its density; 0 or less means no limit, and the
// platform keeps tracking sizes in 16 bits.
LONG outer_limit(HWND hwnd, int dpi, int inner_width, int inner_height, bool width) {
    if ((width ? inner_width : inner_height) <= 0) return 0;
    RECT rect{0, 0, scale_to_pixels(inner_width, dpi), scale_to_pixels(inner_height, dpi)};
    outer_rect_for_dpi(&rect, static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE)), GetMenu(hwnd) != nullptr,
                       static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE)), dpi);
    return std::clamp<LONG>(width ? rect.right - rect.left : rect.bottom - rect.top, 1, 0xFFFF);
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
    if (min_width != IGNORE_VALUE) record->min_width = std::max(min_width, 0);
    if (min_height != IGNORE_VALUE) record->min_height = std::max(min_height, 0);
    if (max_width != IGNORE_VALUE) record->max_width = std::max(max_width, 0);
    if (max_height != IGNORE_VALUE) record->max_height = std::max(max_height, 0);
}

void window_limits_apply(HWND hwnd, const WindowRecord& record, MINMAXINFO* info) {
    const int dpi = record.dpi;
    if (LONG limit = outer_limit(hwnd, dpi, record.min_width, record.min_height, true)) info->ptMinTrackSize.x = limit;
    else if (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) info->ptMinTrackSize.x = 1;
    if (LONG limit = outer_limit(hwnd, dpi, record.min_width, record.min_height, false)) info->ptMinTrackSize.y = limit;
    if (LONG limit = outer_limit(hwnd, dpi, record.max_width, record.max_height, true)) info->ptMaxTrackSize.x = limit;
    if (LONG limit = outer_limit(hwnd, dpi, record.max_width, record.max_height, false)) info->ptMaxTrackSize.y = limit;
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
    const LaidOut window = laid_out(number);
    RECT rect{};
    if (!window.handle || !(inner ? GetClientRect(window.handle, &rect) : GetWindowRect(window.handle, &rect)))
        return 0;
    return scale_to_units(rect.right - rect.left, window.dpi);
}

int window_height(ObjectNumber number, int inner) {
    const LaidOut window = laid_out(number);
    RECT rect{};
    if (!window.handle || !(inner ? GetClientRect(window.handle, &rect) : GetWindowRect(window.handle, &rect)))
        return 0;
    int height = rect.bottom - rect.top;
    if (inner && GetMenu(window.handle)) height += GetSystemMetrics(SM_CYMENU);
    return scale_to_units(height, window.dpi);
}

void window_title_set(ObjectNumber number, const char16_t* title) {
    HWND hwnd = handle_of(number);
    if (hwnd && title) SetWindowTextW(hwnd, reinterpret_cast<const wchar_t*>(title));
}

int window_mouse_x(ObjectNumber number) {
    const LaidOut window = laid_out(number);
    bool inside;
    POINT point = cursor_in_client(window.handle, &inside);
    return inside ? scale_to_units(point.x, window.dpi) : -1;
}

int window_mouse_y(ObjectNumber number) {
    const LaidOut window = laid_out(number);
    bool inside;
    POINT point = cursor_in_client(window.handle, &inside);
    return inside ? scale_to_units(point.y, window.dpi) : -1;
}

int desktop_mouse_x() {
    POINT point{};
    return GetCursorPos(&point) ? scale_to_units(point.x, system_dpi()) : 0;
}

int desktop_mouse_y() {
    POINT point{};
    return GetCursorPos(&point) ? scale_to_units(point.y, system_dpi()) : 0;
}
