// The volume pop-up under Windows: it runs its own loop on the test thread;
// a person on another thread finds it among the thread's windows, reads its
// trackbar and tool tip, moves the trackbar as its own scroll messages do
// and moves the pointer away, waking the loop with empty messages.
#include "tests/app/volume_popup.h"

#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "app/app_state.h"
#include "app/playback.h"
#include "runtime/gui/window.h"
#include "tests/support/window_lists.h"

namespace {

using namespace std::chrono_literals;

HWND slider_of(HWND popup) { return FindWindowExW(popup, nullptr, TRACKBAR_CLASSW, nullptr); }

HWND find_popup(DWORD thread) {
    for (HWND hwnd : thread_windows(thread))
        if (IsWindowVisible(hwnd) && slider_of(hwnd)) return hwnd;
    return nullptr;
}

// The slider's tool text in the thread's tooltip window.
std::wstring tooltip_text(DWORD thread, HWND popup) {
    for (HWND tips : thread_windows(thread)) {
        if (class_name(tips) != TOOLTIPS_CLASSW) continue;
        wchar_t text[256] = L"";
        TOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.hwnd = popup;
        tool.uId = reinterpret_cast<UINT_PTR>(slider_of(popup));
        tool.lpszText = text;
        DWORD_PTR result = 0;
        SendMessageTimeoutW(tips, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&tool), SMTO_ABORTIFHUNG, 5000,
                            &result);
        if (text[0]) return text;
    }
    return L"";
}

bool eventually(const std::function<bool()>& check) {
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (!check()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

// Looks at the pop-up, moves the slider to move_to (-1: leaves it), then
// puts the pointer at leave_at and sends an event.
PopupView use_popup(DWORD thread, int move_to, POINT leave_at) {
    PopupView view;
    HWND popup = nullptr;
    if (!eventually([&] { return (popup = find_popup(thread)) != nullptr; })) return view;
    view.appeared = true;
    POINT origin{};
    ClientToScreen(popup, &origin);
    view.origin = {origin.x, origin.y};
    RECT inner{};
    GetClientRect(popup, &inner);
    view.inner_width = inner.right;
    view.inner_height = inner.bottom;
    view.mouse_x = window_mouse_x(VOLUME_WINDOW);
    view.mouse_y = window_mouse_y(VOLUME_WINDOW);
    view.slider = static_cast<int>(SendMessageW(slider_of(popup), TBM_GETPOS, 0, 0));
    eventually([&] { return !(view.tooltip = tooltip_text(thread, popup)).empty(); });
    for (int i = 0; i < 3; ++i) PostMessageW(popup, WM_NULL, 0, 0);
    std::this_thread::sleep_for(300ms);
    view.stayed_open = IsWindow(popup);
    if (move_to >= 0) {
        SendMessageW(slider_of(popup), TBM_SETPOS, TRUE, move_to);
        PostMessageW(popup, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, move_to),
                     reinterpret_cast<LPARAM>(slider_of(popup)));
        const std::wstring expected = L"Volume: " + std::to_wstring(move_to);
        eventually([&] { return (view.moved_tooltip = tooltip_text(thread, popup)) == expected; });
    }
    SetCursorPos(leave_at.x, leave_at.y);
    view.closed = eventually([&] {
        PostMessageW(popup, WM_NULL, 0, 0);
        return !IsWindow(popup);
    });
    return view;
}

}  // namespace

PopupView change_volume(ScreenAt pointer, int move_to, ScreenAt leave_at) {
    SetCursorPos(pointer.x, pointer.y);
    PopupView view;
    std::thread person([&, thread = GetCurrentThreadId()] {
        view = use_popup(thread, move_to, {leave_at.x, leave_at.y});
    });
    ChangeVolume();
    person.join();
    return view;
}

