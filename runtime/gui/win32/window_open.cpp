// Opening and closing numbered top-level windows, and the window library's
// start and end.
#include <windows.h>
#include <ole2.h>

#include <cstdio>
#include <mutex>
#include <optional>
#include <vector>

#include "runtime/gui/event.h"
#include "runtime/gui/window.h"
#include "runtime/gui/window_placement.h"
#include "runtime/gui/window_scale.h"
#include "runtime/gui/win32/event_state.h"
#include "runtime/gui/win32/gui_win32.h"
#include "runtime/gui/win32/window_dpi.h"
#include "runtime/gui/win32/window_record.h"

namespace {

constexpr DWORD CAPTION = WS_CAPTION;                        // 0xC00000
constexpr DWORD TOOL_WINDOW_STYLE_MASK = 0xDEFCFFFF;          // no min/max state, no min/max boxes
constexpr std::uint32_t RUNTIME_FLAG_BITS = WINDOW_CENTERED | WINDOW_CENTERED_ON_PARENT | WINDOW_TOOL;

HICON module_icon = nullptr;
HCURSOR arrow_cursor = nullptr;

struct ClassName {
    wchar_t text[48];
};

ClassName class_name_of(ObjectNumber number) {
    ClassName name;
    std::swprintf(name.text, sizeof name.text / sizeof name.text[0], L"WindowClass_%lld",
                  static_cast<long long>(number));
    return name;
}

bool register_window_class(const ClassName& name) {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.style = CS_DBLCLKS;
    window_class.lpfnWndProc = window_procedure;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.hIcon = module_icon;
    window_class.hCursor = arrow_cursor;
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window_class.lpszClassName = name.text;
    return RegisterClassExW(&window_class) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

struct Styles {
    DWORD style;
    DWORD ex_style;
    bool hidden;
    bool gadget_parent;
};

Styles styles_from_flags(std::uint32_t flags) {
    Styles styles{flags & ~(WINDOW_NOT_GADGET_PARENT | WINDOW_HIDDEN), 0, (flags & WINDOW_HIDDEN) != 0,
                  (flags & WINDOW_NOT_GADGET_PARENT) == 0};
    // Nothing but placement flags: an ordinary window with a title bar.
    if ((styles.style & ~RUNTIME_FLAG_BITS) == 0) styles.style |= CAPTION;
    if (flags & WINDOW_TOOL) {
        styles.style = (styles.style & TOOL_WINDOW_STYLE_MASK) | CAPTION;
        styles.ex_style = WS_EX_TOOLWINDOW;
    }
    styles.style &= ~RUNTIME_FLAG_BITS;
    return styles;
}

// Sizes in units are made pixels at dpi, positions on the desktop at the
// system's density.
RECT outer_rect(int inner_width, int inner_height, const Styles& styles, int dpi) {
    RECT outer{0, 0, window_side(scale_to_pixels(window_side(inner_width), dpi)),
               window_side(scale_to_pixels(window_side(inner_height), dpi))};
    outer_rect_for_dpi(&outer, styles.style, false, styles.ex_style, dpi);
    return outer;
}

WindowPlacement place_window(int x, int y, int inner_width, int inner_height, std::uint32_t flags,
                             const Styles& styles, HWND parent, int dpi) {
    const RECT outer = outer_rect(inner_width, inner_height, styles, dpi);
    ScreenRect reference{};
    bool has_reference = false;
    if (flags & WINDOW_CENTERED_ON_PARENT) {
        HWND centre_on = parent ? parent : GetActiveWindow();
        RECT rect;
        if (centre_on && GetWindowRect(centre_on, &rect)) {
            reference = {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
            has_reference = true;
        }
    }
    const int desktop = system_dpi();
    return window_place(scale_to_pixels(x, desktop), scale_to_pixels(y, desktop), outer.right - outer.left,
                        outer.bottom - outer.top, flags, GetSystemMetrics(SM_CXSCREEN),
                        GetSystemMetrics(SM_CYSCREEN), has_reference ? &reference : nullptr);
}

// A window the system put on a screen of another density than the one it was
// measured for takes its size for that one, where it stands.
void fit_to_density(HWND hwnd, int inner_width, int inner_height, const Styles& styles, int dpi) {
    const RECT outer = outer_rect(inner_width, inner_height, styles, dpi);
    SetWindowPos(hwnd, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Drag and drop registered on the window itself must be revoked before it goes.
void drop_revoke_window(HWND hwnd) {
    if (!GetPropW(hwnd, DROP_ACCEPT_PROPERTY)) return;
    RevokeDragDrop(hwnd);
    RemovePropW(hwnd, DROP_ACCEPT_PROPERTY);
}

// Destroys a window already taken out of the table, its number still
// reserved. No table lock may be held: destruction sends messages to the
// window and its controls, whose handlers take the window, gadget and toolbar
// tables' locks, maybe on another thread waiting for this one's.
void destroy_window(ObjectNumber number, const WindowRecord& closing) {
    if (HWND owner = GetWindow(closing.handle, GW_OWNER)) SetActiveWindow(owner);
    RemovePropW(closing.handle, WINDOW_ID_PROPERTY);
    drop_revoke_window(closing.handle);
    DestroyWindow(closing.handle);
    UnregisterClassW(class_name_of(number).text, GetModuleHandleW(nullptr));
    if (closing.accelerators) DestroyAcceleratorTable(closing.accelerators);
    if (closing.brush) DeleteObject(closing.brush);
    event_purge_window(number);
}

// Takes the live window under a reserved number out of the table; its record
// becomes free. Under the table lock.
bool take_window(ObjectTable<WindowRecord>& table, ObjectNumber number, WindowRecord* taken) {
    WindowRecord* record = table.find(number);
    if (!record) return false;
    *taken = *record;
    *record = WindowRecord{};
    return true;
}

}  // namespace

ObjectTable<WindowRecord>& window_table() {
    static ObjectTable<WindowRecord> table(16, nullptr);
    return table;
}

bool window_init() {
    module_icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));  // may be absent
    arrow_cursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    return arrow_cursor != nullptr;
}

std::intptr_t window_open(ObjectNumber number, int x, int y, int inner_width, int inner_height,
                          const char16_t* title, std::uint32_t flags, std::intptr_t parent) {
    auto& table = window_table();
    ObjectNumber id;
    WindowRecord replaced{};
    bool replacing;
    {
        std::lock_guard guard(table.lock());
        const std::optional<ObjectNumber> reserved = table.reserve(number);
        if (!reserved) return 0;  // being opened or closed on another thread
        id = *reserved;
        replacing = take_window(table, id, &replaced);
    }
    if (replacing) destroy_window(id, replaced);

    const ClassName name = class_name_of(id);
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const Styles styles = styles_from_flags(flags);
    HWND hwnd = nullptr;
    // Measured for the primary screen, where a new window goes unless placed elsewhere.
    const int measured_dpi = system_dpi();
    if (register_window_class(name)) {
        const HWND parent_window = reinterpret_cast<HWND>(parent);
        const WindowPlacement place =
            place_window(x, y, inner_width, inner_height, flags, styles, parent_window, measured_dpi);
        hwnd = CreateWindowExW(styles.ex_style, name.text, title ? reinterpret_cast<const wchar_t*>(title) : L"",
                               styles.style, place.default_position ? CW_USEDEFAULT : place.x,
                               place.default_position ? CW_USEDEFAULT : place.y, place.width, place.height,
                               parent_window, nullptr, instance, nullptr);
        if (!hwnd) UnregisterClassW(name.text, instance);
    }
    if (!hwnd) {
        std::lock_guard guard(table.lock());
        table.cancel(id);
        return 0;
    }

    const int dpi = native_window_dpi(hwnd);
    if (dpi != measured_dpi) fit_to_density(hwnd, inner_width, inner_height, styles, dpi);
    const HACCEL accelerators = focus_keys_create(ShortcutTable{});
    {
        std::lock_guard guard(table.lock());
        WindowRecord* record = table.fulfil(id);
        record->handle = hwnd;
        record->accelerators = accelerators;
        record->colour = -1;
        record->min_max = (styles.style & (WS_MINIMIZE | WS_MAXIMIZE)) ? 1 : 0;
        record->dpi = dpi;
    }
    SetPropW(hwnd, WINDOW_ID_PROPERTY, reinterpret_cast<HANDLE>(id + 1));
    if (!styles.hidden) {
        int show = SW_SHOWNORMAL;
        if (styles.style & WS_MAXIMIZE) show = SW_SHOWMAXIMIZED;
        else if (styles.style & WS_MINIMIZE) show = SW_SHOWMINIMIZED;
        ShowWindow(hwnd, show);
    }
    if (styles.gadget_parent) gadget_parent_set(hwnd);
    return number == DYNAMIC_ID ? id : reinterpret_cast<std::intptr_t>(hwnd);
}

void window_close(ObjectNumber number) {
    auto& table = window_table();
    if (number == -1) {
        std::vector<ObjectNumber> open;
        table.for_each_live([&](ObjectNumber each, const WindowRecord&) { open.push_back(each); });
        for (ObjectNumber each : open) window_close(each);
        return;
    }
    WindowRecord closing;
    {
        std::lock_guard guard(table.lock());
        // A number another thread is opening or closing is left to it.
        if (!table.find(number) || !table.reserve(number)) return;
        take_window(table, number, &closing);
    }
    destroy_window(number, closing);
    std::lock_guard guard(table.lock());
    table.cancel(number);
}
