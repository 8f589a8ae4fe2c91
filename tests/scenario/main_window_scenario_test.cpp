#include <gtest/gtest.h>

#include "tests/scenario/program_process.h"

namespace {

RECT client_rect_in_parent(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

SIZE client_size(HWND hwnd) {
    RECT r;
    GetClientRect(hwnd, &r);
    return {r.right - r.left, r.bottom - r.top};
}

HWND find_list(HWND main_window) { return FindWindowExW(main_window, nullptr, L"ListBox", nullptr); }

// Toolbar height as the program sees it: 0 without a toolbar.
int toolbar_height(HWND main_window) {
    HWND toolbar = FindWindowExW(main_window, nullptr, L"ToolbarWindow32", nullptr);
    if (!toolbar) return 0;
    RECT r;
    GetWindowRect(toolbar, &r);
    return r.bottom - r.top;
}

TEST(MainWindowScenario, OpensFitsTheListWhenResizedAndClosesWithExitCodeZero) {
    ProgramProcess program;
    ASSERT_TRUE(program.started());
    HWND main_window = program.wait_for_main_window(15000);
    ASSERT_NE(main_window, nullptr) << "the main window never appeared";

    EXPECT_EQ(window_text(main_window), L".: Tunelathe :.V 0.5.206");
    SIZE inner = client_size(main_window);
    EXPECT_EQ(inner.cx, 830);
    EXPECT_EQ(inner.cy, 620);

    HWND list = find_list(main_window);
    ASSERT_NE(list, nullptr);
    RECT at_start = client_rect_in_parent(list);
    EXPECT_EQ(at_start.left, 5);
    EXPECT_EQ(at_start.top, 30);
    EXPECT_EQ(at_start.right - at_start.left, 820);
    EXPECT_EQ(at_start.bottom - at_start.top, 585);

    // Resize the window as a border drag would; the program fits its list.
    RECT outer;
    GetWindowRect(main_window, &outer);
    SetWindowPos(main_window, nullptr, 0, 0, (outer.right - outer.left) - 230,
                 (outer.bottom - outer.top) - 120, SWP_NOMOVE | SWP_NOZORDER);
    SIZE resized = client_size(main_window);
    ASSERT_EQ(resized.cx, 600);
    ASSERT_EQ(resized.cy, 500);
    int toolbar = toolbar_height(main_window);
    EXPECT_TRUE(wait_until([&] {
        RECT r = client_rect_in_parent(list);
        return r.right - r.left == resized.cx - 10 && r.bottom - r.top == resized.cy - toolbar - 10;
    }, 5000)) << "the list was not fitted to the window";
    RECT fitted = client_rect_in_parent(list);
    EXPECT_EQ(fitted.left, 5);
    EXPECT_EQ(fitted.top, 30);

    // The close button's request: nothing is unsaved, so the program ends.
    PostMessageW(main_window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(program.wait_for_exit(15000), 0);
}

}  // namespace
