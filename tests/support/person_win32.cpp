// The person of the behaviour tests under Windows: clicks go through the
// system's input queue (SendInput), the title bar's buttons are the system
// commands they send.
#include "tests/support/person.h"

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "runtime/gui/gadget.h"
#include "runtime/gui/toolbar.h"
#include "runtime/gui/window.h"
#include "tests/support/key_input.h"

namespace {

HWND control_of(ObjectNumber gadget) { return reinterpret_cast<HWND>(gadget_handle(gadget)); }

void button(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

// Clicks at a point of the control's client area, its window in front.
void click_at(HWND control, POINT point, int count) {
    SetForegroundWindow(GetAncestor(control, GA_ROOT));
    ClientToScreen(control, &point);
    SetCursorPos(point.x, point.y);
    for (int i = 0; i < count; ++i) {
        button(MOUSEEVENTF_LEFTDOWN);
        button(MOUSEEVENTF_LEFTUP);
    }
}

RECT row_rect(HWND list, int row) {
    RECT rect{};
    SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
    return rect;
}

// The pointer moved there as the mouse moves it: absolute coordinates over
// the screen in 65536ths.
void pointer_to(POINT screen) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    const LONG width = GetSystemMetrics(SM_CXSCREEN);
    const LONG height = GetSystemMetrics(SM_CYSCREEN);
    input.mi.dx = (screen.x * 65536 + width - 1) / width;
    input.mi.dy = (screen.y * 65536 + height - 1) / height;
    SendInput(1, &input, sizeof input);
}

BOOL CALLBACK find_shown_tip(HWND hwnd, LPARAM found) {
    wchar_t name[32] = L"";
    GetClassNameW(hwnd, name, 32);
    if (!IsWindowVisible(hwnd) || lstrcmpiW(name, TOOLTIPS_CLASSW) != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = hwnd;
    return FALSE;
}

// The text of the tool tip this thread shows, UTF-8; "" when none.
std::string shown_tip() {
    HWND tip = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), find_shown_tip, reinterpret_cast<LPARAM>(&tip));
    if (!tip) return "";
    wchar_t text[512] = L"";
    GetWindowTextW(tip, text, 512);
    char utf8[1536] = "";
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
    return utf8;
}

POINT pressed{};  // where press_row put the pointer, on the screen
bool shift_held = false;

void system_command(ObjectNumber window, WPARAM command) {
    SendMessageW(reinterpret_cast<HWND>(window_handle(window)), WM_SYSCOMMAND, command, 0);
}

}  // namespace

void settle() {
    for (int i = 0; i < 20; ++i) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(10);
    }
}

void focus_gadget(ObjectNumber gadget) {
    HWND control = control_of(gadget);
    SetForegroundWindow(GetAncestor(control, GA_ROOT));
    SetFocus(control);
}

// The pointer resting at a point of a control's client area; the tip shown then.
std::string rest_pointer_at(HWND control, POINT point) {
    ClientToScreen(control, &point);
    pointer_to(point);
    settle();  // a tip left from before goes
    // Resting: the system's hover time, then the tip's own way to the screen.
    std::string shown;
    for (int waited = 0; waited < 2000 && shown.empty(); waited += 200) {
        settle();
        shown = shown_tip();
    }
    return shown;
}

void click_row(ObjectNumber list, int row, int count) {
    HWND control = control_of(list);
    const RECT rect = row_rect(control, row);
    click_at(control, {rect.left + 20, (rect.top + rect.bottom) / 2}, count);
}

std::string rest_pointer_on_gadget(ObjectNumber gadget, int x, int y) {
    return rest_pointer_at(control_of(gadget), {x, y});
}

std::string rest_pointer_on_row(ObjectNumber list, int row) {
    const RECT rect = row_rect(control_of(list), row);
    return rest_pointer_on_gadget(list, rect.left + 20, (rect.top + rect.bottom) / 2);
}


ShownBox shown_row(ObjectNumber list, int row) {
    HWND control = control_of(list);
    RECT rect = row_rect(control, row);
    MapWindowPoints(control, GetAncestor(control, GA_ROOT), reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

void press_key(Key key) {
    press_runtime_key(key == Key::Left    ? KEY_LEFT
                      : key == Key::Right ? KEY_RIGHT
                      : key == Key::Escape ? KEY_ESCAPE
                                          : KEY_DOWN);
}

void press_row(ObjectNumber list, int row, bool shift) {
    HWND control = control_of(list);
    RECT rect{};
    if (row >= 0) {
        rect = row_rect(control, row);
    } else {
        GetClientRect(control, &rect);
        rect.top = rect.bottom - 10;
    }
    SetForegroundWindow(GetAncestor(control, GA_ROOT));
    pressed = {rect.left + 20, (rect.top + rect.bottom) / 2};
    ClientToScreen(control, &pressed);
    SetCursorPos(pressed.x, pressed.y);
    shift_held = shift;
    if (shift) hold_modifiers(KEY_SHIFT, true);
    button(MOUSEEVENTF_LEFTDOWN);
}

void move_pointer_by(int dx, int dy) {
    settle();
    SetCursorPos(pressed.x + dx, pressed.y + dy);
    settle();
}

void release_pointer() {
    button(MOUSEEVENTF_LEFTUP);
    if (shift_held) hold_modifiers(KEY_SHIFT, false);
    shift_held = false;
}

void click_gadget(ObjectNumber gadget, int x, int y) { click_at(control_of(gadget), {x, y}, 1); }

void click_toolbar_item(ObjectNumber toolbar, int index) {
    HWND control = reinterpret_cast<HWND>(toolbar_handle(toolbar));
    RECT rect{};
    SendMessageW(control, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
    click_at(control, {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}, 1);
}

std::string rest_pointer_on_toolbar_item(ObjectNumber toolbar, int index) {
    HWND control = reinterpret_cast<HWND>(toolbar_handle(toolbar));
    RECT rect{};
    SendMessageW(control, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
    return rest_pointer_at(control, {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

bool toolbar_item_shown_checked(ObjectNumber toolbar, int index) {
    TBBUTTON button{};
    SendMessageW(reinterpret_cast<HWND>(toolbar_handle(toolbar)), TB_GETBUTTON, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&button));
    return (button.fsState & TBSTATE_CHECKED) != 0;
}

int toolbar_shown_width(ObjectNumber toolbar) {
    RECT rect{};
    GetWindowRect(reinterpret_cast<HWND>(toolbar_handle(toolbar)), &rect);
    return rect.right - rect.left;
}

// An absolute move through the input queue, which the window under the
// pointer hears as a person's mouse.
void point_at(ObjectNumber window, int x, int y) {
    POINT point{x, y};
    ClientToScreen(reinterpret_cast<HWND>(window_handle(window)), &point);
    pointer_to(point);
}

double slider_shown_position(ObjectNumber slider) {
    return static_cast<double>(SendMessageW(control_of(slider), TBM_GETPOS, 0, 0));
}

ShownBox shown_box(ObjectNumber gadget) {
    HWND control = control_of(gadget);
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

void destroy_control(ObjectNumber gadget) { DestroyWindow(control_of(gadget)); }

bool control_exists(std::intptr_t handle) { return IsWindow(reinterpret_cast<HWND>(handle)) != FALSE; }

bool window_exists(std::intptr_t handle) { return control_exists(handle); }

void minimize_window(ObjectNumber window) { system_command(window, SC_MINIMIZE); }
void maximize_window(ObjectNumber window) { system_command(window, SC_MAXIMIZE); }
void restore_window(ObjectNumber window) { system_command(window, SC_RESTORE); }

void ask_to_close(ObjectNumber window) { system_command(window, SC_CLOSE); }

void resize_window(ObjectNumber window, int width, int height) {
    SetWindowPos(reinterpret_cast<HWND>(window_handle(window)), nullptr, 0, 0, width, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int shown_colour(ObjectNumber window, int x, int y) {
    HWND hwnd = reinterpret_cast<HWND>(window_handle(window));
    HDC dc = GetDC(hwnd);
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(hwnd, dc);
    return static_cast<int>(colour);
}

namespace {

HWND hwnd_of(ObjectNumber window) { return reinterpret_cast<HWND>(window_handle(window)); }

ShownBox box_of(const RECT& rect) { return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top}; }

}  // namespace

ShownBox shown_frame(ObjectNumber window) {
    RECT rect{};
    GetWindowRect(hwnd_of(window), &rect);
    return box_of(rect);
}

ShownBox shown_inner_area(ObjectNumber window) {
    RECT rect{};
    GetClientRect(hwnd_of(window), &rect);
    MapWindowPoints(hwnd_of(window), HWND_DESKTOP, reinterpret_cast<POINT*>(&rect), 2);
    return box_of(rect);
}

ShownBox shown_screen() { return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

std::string shown_title(ObjectNumber window) {
    wchar_t text[256] = L"";
    GetWindowTextW(hwnd_of(window), text, 256);
    char utf8[768] = "";
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
    return utf8;
}

bool window_shown(ObjectNumber window) { return IsWindowVisible(hwnd_of(window)) != FALSE; }

void activate_window(ObjectNumber window) { SetForegroundWindow(hwnd_of(window)); }

void move_window(ObjectNumber window, int x, int y) {
    SetWindowPos(hwnd_of(window), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void right_click_toolbar_item(ObjectNumber toolbar, int index) {
    HWND control = reinterpret_cast<HWND>(toolbar_handle(toolbar));
    RECT rect{};
    SendMessageW(control, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
    POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ClientToScreen(control, &centre);
    SetCursorPos(centre.x, centre.y);
    button(MOUSEEVENTF_RIGHTDOWN);
    button(MOUSEEVENTF_RIGHTUP);
}

Distance drag_threshold() { return {GetSystemMetrics(SM_CXDRAG), GetSystemMetrics(SM_CYDRAG)}; }
