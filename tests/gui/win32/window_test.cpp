// Real windows under the platform (Wine in the test run): native messages go
// in through SendMessage, PostMessage, ShowWindow, MoveWindow, SetTimer and
// SendInput; events come out of event_wait.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "runtime/gui/event.h"
#include "runtime/gui/event_queue.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/window.h"
#include "tests/gui/window_events.h"
#include "runtime/gui/win32/gui_win32.h"
#include "tests/support/key_input.h"
#include "tests/support/win32_window_sizes.h"

namespace {

// Window events share their numbers with native messages (WM_MOVE is 3, WM_PAINT
// 15); a native message comes back with subtype -1, a queued window event with 0.
bool is_runtime_event(const Event& e) {
    if (e.kind >= EVENT_GADGET && e.kind <= EVENT_DEACTIVATE_WINDOW) return true;
    return (e.kind == EVENT_MOVE_WINDOW || e.kind == EVENT_SIZE_WINDOW || e.kind == EVENT_REPAINT ||
            e.kind == EVENT_CLOSE_WINDOW) &&
           e.subtype == 0;
}

// Everything event_wait has to give now, native messages included.
std::vector<Event> drain() {
    std::vector<Event> events;
    for (int i = 0; i < 2000; ++i) {
        int kind = event_wait_timeout(0);
        MSG pending;
        if (kind != 0) events.push_back(current(kind));
        else if (!PeekMessageW(&pending, nullptr, 0, 0, PM_NOREMOVE) && event_queue_empty(event_queue())) break;
    }
    return events;
}

// The runtime events of one window, in order; only the given kinds if any.
std::vector<Event> events_of(const std::vector<Event>& events, ObjectNumber window, std::vector<int> kinds = {}) {
    std::vector<Event> mine;
    for (const Event& e : events)
        if (is_runtime_event(e) && e.window == window &&
            (kinds.empty() || std::find(kinds.begin(), kinds.end(), e.kind) != kinds.end()))
            mine.push_back(e);
    return mine;
}

HWND child(HWND parent, const wchar_t* cls, int id, DWORD style = WS_TABSTOP, int x = 0) {
    return CreateWindowExW(0, cls, L"c", WS_CHILD | WS_VISIBLE | style, x, 0, 40, 20, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

class WindowTest : public WindowSuite {
protected:
    static HWND open(ObjectNumber number, std::uint32_t flags = 0, int x = 100, int y = 100, int w = 300,
                     int h = 200, std::intptr_t parent = 0) {
        auto handle = window_open(number, x, y, w, h, u"Test", flags, parent);
        return reinterpret_cast<HWND>(number == DYNAMIC_ID ? window_handle(handle) : handle);
    }
};

TEST_F(WindowTest, OpenRegistersAClassPerNumberAndMarksTheWindow) {
    HWND hwnd = open(0);
    ASSERT_TRUE(IsWindow(hwnd));
    EXPECT_EQ(GetPropW(hwnd, L"QX_WindowID"), reinterpret_cast<HANDLE>(1));

    WNDCLASSEXW info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetClassInfoExW(GetModuleHandleW(nullptr), L"WindowClass_0", &info));
    EXPECT_EQ(info.style, static_cast<UINT>(CS_DBLCLKS));
    EXPECT_EQ(info.hbrBackground, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    EXPECT_EQ(info.hCursor, LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)));

    HWND inner = child(hwnd, L"STATIC", 5, 0);
    EXPECT_EQ(window_number_of(hwnd), 0);
    EXPECT_EQ(window_number_of(inner), 0);
    EXPECT_EQ(window_number_of(GetDesktopWindow()), -1);

    // Dynamic numbers have classes of their own; a class goes with its window.
    const auto id = static_cast<ObjectNumber>(window_open(DYNAMIC_ID, 0, 0, 100, 100, nullptr, 0));
    EXPECT_EQ(window_number_of(reinterpret_cast<HWND>(window_handle(id))), id);
    const std::wstring dynamic_class = L"WindowClass_" + std::to_wstring(id);
    EXPECT_TRUE(GetClassInfoExW(GetModuleHandleW(nullptr), dynamic_class.c_str(), &info));
    window_close(id);
    EXPECT_FALSE(GetClassInfoExW(GetModuleHandleW(nullptr), dynamic_class.c_str(), &info));
    window_close(-1);
    EXPECT_FALSE(GetClassInfoExW(GetModuleHandleW(nullptr), L"WindowClass_0", &info));
}

TEST_F(WindowTest, FlagsChooseTheStyle) {
    // Placement flags only: a title bar is added.
    HWND plain = open(0, WINDOW_CENTERED);
    LONG_PTR style = GetWindowLongPtrW(plain, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_EQ(style & 7, 0);

    HWND main = open(1, MAIN_FLAGS);
    style = GetWindowLongPtrW(main, GWL_STYLE);
    for (LONG_PTR bit : {WS_CAPTION, WS_SYSMENU, WS_THICKFRAME, WS_MINIMIZEBOX, WS_MAXIMIZEBOX})
        EXPECT_EQ(style & bit, bit) << std::hex << bit;

    HWND popup = open(2, 0x80000000);
    style = GetWindowLongPtrW(popup, GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_EQ(style & WS_CAPTION, 0);
    EXPECT_EQ(client_size(popup).cx, 300);  // no frame

    HWND tool = open(3, WINDOW_TOOL | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_MAXIMIZE);
    style = GetWindowLongPtrW(tool, GWL_STYLE);
    EXPECT_TRUE(GetWindowLongPtrW(tool, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_MAXIMIZE), 0);
    EXPECT_FALSE(IsZoomed(tool));

    HWND hidden = open(4, WINDOW_HIDDEN | WS_POPUP | WS_BORDER);
    EXPECT_EQ(GetWindowLongPtrW(hidden, GWL_STYLE) & WS_CAPTION, WS_BORDER);  // style bits given: none added

    HWND maximized = open(5, WS_CAPTION | WS_SYSMENU | WS_MAXIMIZEBOX | WS_MAXIMIZE);
    EXPECT_TRUE(IsZoomed(maximized));
    HWND minimized = open(6, WS_CAPTION | WS_SYSMENU | WS_MINIMIZE);
    EXPECT_TRUE(IsIconic(minimized));
}

TEST_F(WindowTest, AWindowCentredOnItsParentIsOwnedAndIgnoredPlacesAreThePlatformsChoice) {
    HWND parent = open(2, WS_POPUP, 200, 150, 600, 500);
    HWND on_parent = open(3, WINDOW_CENTERED_ON_PARENT | WS_POPUP, 0, 0, 200, 100,
                          reinterpret_cast<std::intptr_t>(parent));
    EXPECT_EQ(GetWindow(on_parent, GW_OWNER), parent);
    HWND left_to_platform = open(5, 0, IGNORE_VALUE, IGNORE_VALUE, 50, 50);
    EXPECT_GT(window_rect(left_to_platform).left, IGNORE_VALUE);
    EXPECT_GT(window_rect(left_to_platform).top, IGNORE_VALUE);
}

TEST_F(WindowTest, AMoveAndClosesSentOrPostedAreEachAnEvent) {
    HWND hwnd = open(0, MAIN_FLAGS);
    drain();
    MoveWindow(hwnd, 30, 40, 500, 400, TRUE);
    EXPECT_EQ(events_of(drain(), 0, {EVENT_MOVE_WINDOW, EVENT_SIZE_WINDOW}),
              window_events(0, {EVENT_MOVE_WINDOW, EVENT_SIZE_WINDOW}));

    SendMessageW(hwnd, WM_CLOSE, 0, 0);
    PostMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);  // the close button's way
    auto events = drain();
    EXPECT_EQ(events_of(events, 0, {EVENT_CLOSE_WINDOW}), window_events(0, {EVENT_CLOSE_WINDOW, EVENT_CLOSE_WINDOW}));
}

TEST_F(WindowTest, QueuedEventsCollapseOnlyWhenIdentical) {
    HWND a = open(0, MAIN_FLAGS);
    HWND b = open(1, MAIN_FLAGS);
    drain();
    // Outside event_wait nothing is read in between: a burst of sizes costs one event.
    for (int w = 400; w < 410; ++w)
        SetWindowPos(a, nullptr, 0, 0, w, 300, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    SendMessageW(a, WM_CLOSE, 0, 0);
    SendMessageW(b, WM_CLOSE, 0, 0);
    SendMessageW(a, WM_CLOSE, 0, 0);
    auto events = drain();
    EXPECT_EQ(events_of(events, 0), window_events(0, {EVENT_SIZE_WINDOW, EVENT_CLOSE_WINDOW, EVENT_CLOSE_WINDOW}));
    EXPECT_EQ(events_of(events, 1), window_events(1, {EVENT_CLOSE_WINDOW}));
}

TEST_F(WindowTest, ImmediateEventsCarryTheirObjectWindowAndSubtype) {
    HWND hwnd = open(2);
    drain();

    SetTimer(hwnd, 42, 1, nullptr);
    const Event timer = next_event(EVENT_TIMER);
    KillTimer(hwnd, 42);
    EXPECT_EQ(timer, (Event{EVENT_TIMER, 42, 2, -1}));
    drain();

    // Clicks on the window itself keep the previous event's object; commands
    // come from menus and shortcuts (code 0 or 1) and from the toolbar.
    const auto toolbar = reinterpret_cast<LPARAM>(child(hwnd, L"STATIC", TOOLBAR_CONTROL_ID, 0));
    drain();
    event_post(EVENT_GADGET, 77, 2, 0);
    EXPECT_EQ(event_wait_timeout(0), EVENT_GADGET);
    const struct {
        UINT message;
        WPARAM wparam;
        LPARAM lparam;
        Event event;
    } messages[] = {{WM_LBUTTONUP, 0, MAKELPARAM(5, 5), {EVENT_LEFT_CLICK, 77, 2, -1}},
                    {WM_RBUTTONUP, 0, MAKELPARAM(5, 5), {EVENT_RIGHT_CLICK, 77, 2, -1}},
                    {WM_LBUTTONDBLCLK, 0, MAKELPARAM(5, 5), {EVENT_LEFT_DOUBLE_CLICK, 77, 2, -1}},
                    {WM_COMMAND, MAKEWPARAM(7, 0), 0, {EVENT_MENU, 7, 2, -1}},
                    {WM_COMMAND, MAKEWPARAM(9, 1), 0, {EVENT_MENU, 9, 2, -1}},
                    {WM_COMMAND, MAKEWPARAM(5, 0), toolbar, {EVENT_MENU, 5, 2, 0}},
                    {WM_COMMAND, MAKEWPARAM(11, 3), toolbar, {EVENT_MENU, 11, 2, 3}}};
    for (const auto& m : messages) {
        PostMessageW(hwnd, m.message, m.wparam, m.lparam);
        EXPECT_EQ(current(event_wait_timeout(0)), m.event) << std::hex << m.message;
    }
    HWND button = child(hwnd, L"BUTTON", 31, WS_TABSTOP, 50);
    drain();
    PostMessageW(button, BM_CLICK, 0, 0);  // the button itself tells its parent
    std::vector<Event> events = drain();
    EXPECT_NE(std::find(events.begin(), events.end(), Event{EVENT_GADGET, 31, 2, BN_CLICKED}), events.end());

    // A message that makes no event comes back as its own number.
    PostMessageW(hwnd, WM_USER + 5, 1, 2);
    EXPECT_EQ(event_wait_timeout(0), WM_USER + 5);
    EXPECT_EQ(event_window(), 2);
}

TEST_F(WindowTest, CommandsSentOutsideTheWaitAreQueuedNotLost) {
    HWND hwnd = open(0);
    HWND toolbar = child(hwnd, L"STATIC", TOOLBAR_CONTROL_ID, 0);
    drain();
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(12, 0), reinterpret_cast<LPARAM>(toolbar));
    EXPECT_EQ(current(event_wait_timeout(0)), (Event{EVENT_MENU, 12, 0, 0}));
    SendMessageW(hwnd, WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(current(event_wait_timeout(0)), (Event{EVENT_LEFT_CLICK, 12, 0, -1}));
}

int released_records = 0;
void release_record(void* record) {
    ++released_records;
    delete static_cast<int*>(record);
}

TEST_F(WindowTest, DropMessagesHandTheirRecordToTheEventUntilTheNextWait) {
    HWND hwnd = open(1);
    drain();
    event_drop_release_set(release_record);
    released_records = 0;

    auto* record = new int(15);
    PostMessageW(hwnd, GADGET_DROP_MESSAGE, 4, reinterpret_cast<LPARAM>(record));
    EXPECT_EQ(current(event_wait_timeout(0)), (Event{EVENT_GADGET_DROP, 4, 1, -1}));
    EXPECT_EQ(event_data(), record);
    EXPECT_EQ(released_records, 0);
    event_wait_timeout(0);
    EXPECT_EQ(released_records, 1);
    EXPECT_EQ(event_data(), nullptr);

    PostMessageW(hwnd, WINDOW_DROP_MESSAGE, 0, reinterpret_cast<LPARAM>(new int(16)));
    EXPECT_EQ(current(event_wait_timeout(0)), (Event{EVENT_WINDOW_DROP, 4, 1, -1}));  // object not set: kept
    EXPECT_EQ(*static_cast<int*>(event_data()), 16);

    // A drop delivered outside the wait (from a modal loop) is queued with its record.
    SendMessageW(hwnd, GADGET_DROP_MESSAGE, 6, reinterpret_cast<LPARAM>(new int(17)));
    EXPECT_EQ(released_records, 1);
    EXPECT_EQ(current(event_wait_timeout(0)), (Event{EVENT_GADGET_DROP, 6, 1, -1}));
    EXPECT_EQ(released_records, 2);
    EXPECT_EQ(*static_cast<int*>(event_data()), 17);

    // The window library's end frees the pending record.
    window_end();
    EXPECT_EQ(released_records, 3);
    EXPECT_EQ(event_data(), nullptr);
    event_drop_release_set(nullptr);
}

TEST_F(WindowTest, TrayIconMessagesAreQueuedWithTheirButton) {
    HWND hwnd = open(0);
    drain();
    PostMessageW(hwnd, TRAY_ICON_MESSAGE, 3, WM_RBUTTONDOWN);
    PostMessageW(hwnd, TRAY_ICON_MESSAGE, 3, WM_LBUTTONDBLCLK);
    PostMessageW(hwnd, TRAY_ICON_MESSAGE, 3, WM_MOUSEMOVE);
    auto events = events_of(drain(), 0);
    EXPECT_EQ(events, (std::vector<Event>{{EVENT_TRAY_ICON, 3, 0, 1}, {EVENT_TRAY_ICON, 3, 0, 2}}));
}

TEST_F(WindowTest, AMessagePostedLaterEndsATimedWait) {
    open(0);
    drain();
    HWND hwnd = reinterpret_cast<HWND>(window_handle(0));
    std::thread poster([hwnd] {
        Sleep(50);
        PostMessageW(hwnd, WM_USER + 1, 0, 0);
    });
    EXPECT_EQ(event_wait_timeout(20000), WM_USER + 1);
    poster.join();
}

TEST_F(WindowTest, ActivationSavesAndRestoresTheFocusedControl) {
    HWND a = open(0, MAIN_FLAGS);
    HWND edit = child(a, L"EDIT", 1, WS_TABSTOP, 0);
    child(a, L"BUTTON", 2, WS_TABSTOP, 50);
    SetFocus(edit);
    drain();
    HWND b = open(1, MAIN_FLAGS);
    drain();
    EXPECT_EQ(GetActiveWindow(), b);
    SetActiveWindow(a);
    drain();
    EXPECT_EQ(GetFocus(), edit);
}

// Tab pressed, and what it made read as the program would.
void press_tab(bool shift) {
    press_runtime_key(0x09, shift ? KEY_SHIFT : 0);
    for (int i = 0; i < 20; ++i) {
        Sleep(10);
        drain();
    }
}

TEST_F(WindowTest, TabAndShiftTabMoveTheFocusAmongTabStops) {
    HWND hwnd = open(0, MAIN_FLAGS);
    HWND first = child(hwnd, L"BUTTON", 1, WS_TABSTOP, 0);
    child(hwnd, L"BUTTON", 2, WS_TABSTOP | WS_DISABLED, 45);
    child(hwnd, L"STATIC", 3, 0, 90);
    HWND edit = child(hwnd, L"EDIT", 4, WS_TABSTOP, 135);
    HWND hidden = child(hwnd, L"BUTTON", 5, WS_TABSTOP, 180);
    ShowWindow(hidden, SW_HIDE);
    HWND last = child(hwnd, L"BUTTON", 6, WS_TABSTOP, 225);
    SetForegroundWindow(hwnd);
    SetFocus(first);
    drain();
    ASSERT_EQ(GetActiveWindow(), hwnd);

    press_tab(false);
    EXPECT_EQ(GetFocus(), edit);
    press_tab(false);
    EXPECT_EQ(GetFocus(), last);
    press_tab(false);
    EXPECT_EQ(GetFocus(), first);  // round again
    press_tab(true);
    EXPECT_EQ(GetFocus(), last);
    press_tab(true);
    EXPECT_EQ(GetFocus(), edit);
    wchar_t text[8] = {};
    GetWindowTextW(edit, text, 8);
    EXPECT_STREQ(text, L"c");  // the Tab never reached the edit as text
}

TEST_F(WindowTest, SizeLimitsReachTheSystemAsOuterTrackSizes) {
    HWND hwnd = open(0, MAIN_FLAGS, 10, 10, 500, 400);
    window_bounds(0, 320, 280, IGNORE_VALUE, IGNORE_VALUE);
    MINMAXINFO info{};
    info.ptMaxTrackSize = {5000, 5000};
    SendMessageW(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    SIZE min_outer = outer_of(hwnd, 320, 280);
    EXPECT_EQ(info.ptMinTrackSize.x, min_outer.cx);
    EXPECT_EQ(info.ptMinTrackSize.y, min_outer.cy);
    EXPECT_EQ(info.ptMaxTrackSize.x, 5000);  // ignored values stay unlimited

    // 0 means no limit, not a limit of the frame alone.
    window_bounds(0, 0, 0, 0, 0);
    info = MINMAXINFO{};
    info.ptMinTrackSize = {7, 8};
    info.ptMaxTrackSize = {900, 800};
    SendMessageW(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 7);
    EXPECT_EQ(info.ptMaxTrackSize.y, 800);

    HWND tool = open(1, WINDOW_TOOL);
    info = MINMAXINFO{};
    info.ptMinTrackSize = {100, 30};
    SendMessageW(tool, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 1);
    EXPECT_EQ(info.ptMinTrackSize.y, 30);
}

int colour_changes = 0;
LRESULT CALLBACK counting_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_SYSCOLORCHANGE) ++colour_changes;
    return DefWindowProcW(hwnd, message, wparam, lparam);
}

TEST_F(WindowTest, SystemColourChangesReachTheControls) {
    HWND hwnd = open(0);
    HWND a = child(hwnd, L"STATIC", 1, 0);
    HWND b = child(hwnd, L"STATIC", 2, 0);
    SetWindowLongPtrW(a, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(counting_proc));
    SetWindowLongPtrW(b, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(counting_proc));
    colour_changes = 0;
    SendMessageW(hwnd, WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(colour_changes, 2);
}

TEST_F(WindowTest, HidingAndShowingKeepTheActivation) {
    HWND main = open(0, MAIN_FLAGS);
    window_hide(0, 1);
    window_hide(0, 0);
    EXPECT_EQ(GetActiveWindow(), main);

    HWND other = open(1, MAIN_FLAGS | WINDOW_HIDDEN);
    window_hide(1, 0, WINDOW_SHOW_NO_ACTIVATE);
    EXPECT_EQ(GetActiveWindow(), main);
    window_hide(1, 1);
    window_hide(1, 0);
    EXPECT_EQ(GetActiveWindow(), other);

    // An owned pop-up hands the activation back to its owner when it goes.
    HWND popup = open(2, WS_POPUP, 10, 10, 50, 50, reinterpret_cast<std::intptr_t>(main));
    EXPECT_EQ(GetActiveWindow(), popup);
    window_hide(2, 1);
    EXPECT_EQ(GetActiveWindow(), main);
    window_hide(2, 0);
    window_close(2);
    EXPECT_EQ(GetActiveWindow(), main);
}

}  // namespace
