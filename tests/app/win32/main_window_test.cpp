// The program's main window under Windows as it opens and as it moves to a
// screen of another density: real windows, real messages, the program's own
// procedures with the whole runtime started as the program starts it.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <thread>
#include <vector>

#include "app/app_state.h"
#include "app/main_window.h"
#include "app/startup.h"
#include "runtime/core/runtime_steps.h"
#include "runtime/gui/event.h"
#include "runtime/gui/event_queue.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/toolbar.h"
#include "runtime/gui/window.h"
#include "runtime/image/image.h"
#include "tests/support/toolbar_icon_fit.h"
#include "tests/support/win32_window_sizes.h"
#include "tests/support/window_lists.h"

namespace {

// Reads what the messages sent meanwhile left, as the main loop does, and
// fits the list to the main window after each of its size events.
void fit_list_on_resize() {
    for (int i = 0; i < 2000; ++i) {
        MSG pending;
        const int kind = event_wait_timeout(0);
        if (kind == EVENT_SIZE_WINDOW && event_window() == MAIN_WINDOW && event_subtype() == 0) FitListToWindow();
        if (kind == 0 && !PeekMessageW(&pending, nullptr, 0, 0, PM_NOREMOVE) && event_queue_empty(event_queue())) break;
    }
}

// The program's main window, opened by the program's own procedure with the
// whole runtime started as the program starts it.
class MainWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(runtime_start());
        InitApplicationState();
    }
    static void TearDownTestSuite() {
        // Texts live in the text heap, which the runtime's end destroys.
        app.playlist_path = nullptr;
        app.version_text = nullptr;
        app.current_song_path = nullptr;
        list_free(app.playlist_store.list);
        runtime_end();
    }
};

// Each time the main window is about to show: whether its toolbar and list exist.
struct MainWindowShown {
    bool toolbar;
    bool list;
};
std::vector<MainWindowShown> main_window_shows;

LRESULT CALLBACK watch_main_window_shows(int code, WPARAM wparam, LPARAM lparam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lparam);
    if (code == HC_ACTION && sent->message == WM_SHOWWINDOW && sent->wParam &&
        sent->hwnd == reinterpret_cast<HWND>(window_handle(MAIN_WINDOW)))
        main_window_shows.push_back({FindWindowExW(sent->hwnd, nullptr, TOOLBARCLASSNAMEW, nullptr) != nullptr,
                                     FindWindowExW(sent->hwnd, nullptr, L"ListBox", nullptr) != nullptr});
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

// The program's OpenMainWindow, with a person who confirms the start-up
// notice that comes first.
void open_main_window() {
    const DWORD me = GetCurrentThreadId();
    std::thread person([me] {
        for (int i = 0; i < 3000; ++i) {
            for (HWND hwnd : thread_windows(me)) {
                if (class_name(hwnd) == L"#32770" && IsWindowVisible(hwnd)) {
                    PostMessageW(hwnd, WM_COMMAND, IDOK, 0);
                    return;
                }
            }
            Sleep(10);
        }
    });
    OpenMainWindow();
    person.join();
}

TEST_F(MainWindowTest, TheMainWindowIsNeverShownBeforeItsToolbarAndListExist) {
    main_window_shows.clear();
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, watch_main_window_shows, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    open_main_window();
    UnhookWindowsHookEx(hook);

    HWND main = reinterpret_cast<HWND>(window_handle(MAIN_WINDOW));
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(IsWindowVisible(main));
    EXPECT_EQ(GetParent(reinterpret_cast<HWND>(gadget_handle(PLAYLIST_GADGET))), main);
    EXPECT_EQ(GetParent(reinterpret_cast<HWND>(toolbar_handle(MAIN_TOOLBAR))), main);
    ASSERT_FALSE(main_window_shows.empty());
    for (const MainWindowShown& shown : main_window_shows) {
        EXPECT_TRUE(shown.toolbar) << "shown before its toolbar existed";
        EXPECT_TRUE(shown.list) << "shown before its list existed";
    }
}

// A window moved to a screen of another density gets WM_DPICHANGED from the
// system: the new density, and a rectangle for the window there. One X
// display has one density, so the test sends the message as the system
// would: the inner size scaled by the change, the frame added, at the same
// corner.
void move_to_density(HWND window, int from, int to) {
    RECT outer = window_rect(window);
    const SIZE inner = client_size(window);
    const SIZE frame = outer_of(window, 0, 0);  // drawn by Wine at the display's density
    outer.right = outer.left + MulDiv(inner.cx, to, from) + frame.cx;
    outer.bottom = outer.top + MulDiv(inner.cy, to, from) + frame.cy;
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&outer));
    fit_list_on_resize();
}

RECT place_in_parent(HWND child) {
    RECT r = window_rect(child);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};  // x, y, width, height
}

LONG font_height(HWND control) {
    LOGFONTW face{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof face, &face);
    return face.lfHeight;
}

// Each toolbar button's picture as its image list draws it over the window's
// colour, with room around it; 0x00RRGGBB, row after row.
std::vector<std::vector<unsigned long>> button_pictures(HWND toolbar, int side) {
    auto list = reinterpret_cast<HIMAGELIST>(SendMessageW(toolbar, TB_GETIMAGELIST, 0, 0));
    const int room = side + 4;
    std::vector<std::vector<unsigned long>> pictures;
    const auto count = static_cast<int>(SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0));
    for (int index = 0; index < count; ++index) {
        TBBUTTON button{};
        SendMessageW(toolbar, TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button));
        if (button.fsStyle & BTNS_SEP) continue;
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), room, -room, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HBITMAP canvas = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        auto* pixels = static_cast<std::uint32_t*>(bits);
        std::fill(pixels, pixels + room * room, 0x708090u);  // the window's colour, 0x908070 as 0x00RRGGBB
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, canvas);
        ImageList_Draw(list, button.iBitmap, dc, 2, 2, ILD_NORMAL);
        GdiFlush();
        pictures.emplace_back(pixels, pixels + room * room);
        for (unsigned long& pixel : pictures.back()) pixel &= 0xFFFFFF;
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(canvas);
    }
    return pictures;
}

TEST_F(MainWindowTest, OnAScreenOfTwiceTheDensityEverythingIsTwiceAsLargeWithTheSharpIcons) {
    open_main_window();
    FitListToWindow();
    HWND main = reinterpret_cast<HWND>(window_handle(MAIN_WINDOW));
    HWND list = reinterpret_cast<HWND>(gadget_handle(PLAYLIST_GADGET));
    HWND toolbar = reinterpret_cast<HWND>(toolbar_handle(MAIN_TOOLBAR));
    ASSERT_NE(main, nullptr);
    // Small enough for the tests' display (96 DPI) at twice the size.
    const SIZE frame = outer_of(main, 0, 0);
    SetWindowPos(main, nullptr, 0, 0, 600 + frame.cx, 440 + frame.cy, SWP_NOMOVE | SWP_NOZORDER);
    fit_list_on_resize();
    FitListToWindow();
    ASSERT_EQ(client_size(main).cx, 600);
    const LONG font = font_height(list);
    const auto row = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    const int toolbar_units = toolbar_height(MAIN_TOOLBAR);

    move_to_density(main, 96, 192);
    EXPECT_EQ(client_size(main).cx, 1200);
    EXPECT_EQ(client_size(main).cy, 880);
    // The program still sees its own sizes.
    EXPECT_EQ(window_width(MAIN_WINDOW), 600);
    EXPECT_EQ(window_height(MAIN_WINDOW), 440);
    const int toolbar_now = toolbar_height(MAIN_TOOLBAR);
    EXPECT_NEAR(toolbar_now, toolbar_units, 3) << "the toolbar in units, with its larger pictures";
    const RECT at = place_in_parent(list);
    EXPECT_EQ(at.left, 10);
    EXPECT_EQ(at.top, 60);
    EXPECT_EQ(at.right, 1180);
    EXPECT_EQ(at.bottom, 2 * (440 - toolbar_now - 10));
    EXPECT_EQ(font_height(list), 2 * font);
    EXPECT_GE(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0), 2 * row - 2);
    POINT origin{0, 0};
    ClientToScreen(main, &origin);
    SetCursorPos(origin.x + 50, origin.y + 81);
    EXPECT_EQ(window_mouse_x(MAIN_WINDOW), 25);
    EXPECT_EQ(window_mouse_y(MAIN_WINDOW), 41);  // to the nearest unit

    image_decoder_png_register();
    std::vector<std::vector<unsigned long>> shown = button_pictures(toolbar, 32);
    ASSERT_EQ(shown.size(), 15u);
    for (std::size_t place = 0; place < shown.size(); ++place) {
        SCOPED_TRACE(place);
        const int n = IMAGE_AT_PLACE[place];
        EXPECT_LE(best_fit(shown[place], 36, 36, toolbar_icon(n, 32)), 2);
        EXPECT_GE(best_fit(shown[place], 36, 36, enlarged(toolbar_icon(n, 16))), 40);
    }

    // Back on a screen of the unit density, all is as it was.
    move_to_density(main, 192, 96);
    EXPECT_EQ(client_size(main).cx, 600);
    EXPECT_EQ(client_size(main).cy, 440);
    EXPECT_EQ(toolbar_height(MAIN_TOOLBAR), toolbar_units);
    const RECT back = place_in_parent(list);
    EXPECT_EQ(back.left, 5);
    EXPECT_EQ(back.top, 30);
    EXPECT_EQ(back.right, 590);
    EXPECT_EQ(back.bottom, 440 - toolbar_units - 10);
    EXPECT_EQ(SendMessageW(list, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT)));
    EXPECT_EQ(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0), row);
    shown = button_pictures(toolbar, 16);
    ASSERT_EQ(shown.size(), 15u);
    for (std::size_t place = 0; place < shown.size(); ++place) {
        SCOPED_TRACE(place);
        EXPECT_LE(best_fit(shown[place], 20, 20, toolbar_icon(IMAGE_AT_PLACE[place], 16)), 2);
    }
}

}  // namespace
