// The main window's size and the list that fills it, through resizing,
// maximizing and minimizing, and the close button.
#include <gtest/gtest.h>

#include "tests/scenario/desktop.h"
#include "tests/scenario/playlist_view.h"
#include "tests/scenario/toolbar_probe.h"

namespace {

int toolbar_height(HWND main_window) {
    HWND toolbar = find_toolbar(main_window);
    if (!toolbar) return 0;
    RECT r{};
    GetWindowRect(toolbar, &r);
    return r.bottom - r.top;
}

// Whether the list sits at (5, 30) and fills the client area but a 5-pixel
// border and the toolbar; waits for the program to catch up.
::testing::AssertionResult list_fits(HWND main_window, HWND list) {
    SIZE inner{};
    RECT at{};
    int toolbar = 0;
    bool fits = wait_until([&] {
        inner = client_size(main_window);
        toolbar = toolbar_height(main_window);
        at = rect_in_parent(list);
        return at.left == 5 && at.top == 30 && at.right - at.left == inner.cx - 10 &&
               at.bottom - at.top == inner.cy - toolbar - 10;
    }, 5000);
    if (fits) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "inner " << inner.cx << "x" << inner.cy << ", toolbar " << toolbar
                                         << ", list at (" << at.left << "," << at.top << ") "
                                         << at.right - at.left << "x" << at.bottom - at.top;
}

TEST(MainWindowScenario, ListFollowsResizeMaximizeAndMinimizeAndCloseButtonEndsWithZero) {
    RunningProgram program;
    ASSERT_NE(program.main_window, nullptr) << "the main window never appeared";
    HWND main_window = program.main_window;

    EXPECT_EQ(window_text(main_window), L".: Tunelathe :.V 0.5.206");
    SIZE inner = client_size(main_window);
    EXPECT_EQ(inner.cx, 830);
    EXPECT_EQ(inner.cy, 620);

    // The list is made 820 x 585; showing the window sizes it, and the
    // program fits the list under the toolbar at once.
    HWND list = find_list(main_window);
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list_fits(main_window, list)) << "at start";
    EXPECT_EQ(rect_in_parent(list).right - rect_in_parent(list).left, 820);

    // Smaller, as a border drag would make it.
    RECT outer{};
    GetWindowRect(main_window, &outer);
    SetWindowPos(main_window, nullptr, 0, 0, (outer.right - outer.left) - 230, (outer.bottom - outer.top) - 120,
                 SWP_NOMOVE | SWP_NOZORDER);
    SIZE resized = client_size(main_window);
    ASSERT_EQ(resized.cx, 600);
    ASSERT_EQ(resized.cy, 500);
    EXPECT_TRUE(list_fits(main_window, list)) << "after resizing";

    // Maximized: the window grows to the screen and the list with it.
    ShowWindow(main_window, SW_MAXIMIZE);
    ASSERT_TRUE(wait_until([&] { return IsZoomed(main_window) != FALSE; }, 5000));
    SIZE maximized = client_size(main_window);
    EXPECT_GT(maximized.cx, 830);
    EXPECT_GT(maximized.cy, 620);
    EXPECT_TRUE(list_fits(main_window, list)) << "after maximizing";
    RECT before_minimize = rect_in_parent(list);

    // Minimized: the window has no room, but the list keeps its size for when
    // it comes back.
    ShowWindow(main_window, SW_MINIMIZE);
    ASSERT_TRUE(wait_until([&] { return IsIconic(main_window) != FALSE; }, 5000));
    Sleep(300);  // time for the program to handle the size change
    RECT minimized = rect_in_parent(list);
    EXPECT_EQ(minimized.right - minimized.left, before_minimize.right - before_minimize.left);
    EXPECT_EQ(minimized.bottom - minimized.top, before_minimize.bottom - before_minimize.top);

    ShowWindow(main_window, SW_RESTORE);
    ASSERT_TRUE(wait_until([&] { return !IsIconic(main_window); }, 5000));
    EXPECT_TRUE(list_fits(main_window, list)) << "after restoring";

    // The close button's request: nothing is unsaved, so no box, and the
    // program ends.
    PostMessageW(main_window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(program.process.wait_for_exit(15000), 0);
}

}  // namespace
