// The main window's size and the list that fills it, through resizing,
// maximizing and minimizing, and the close button. On a screen of 144 or 192
// DPI (tests/scenario/with-dpi) all of it 1.5 or 2 times as large, with the
// 32-pixel icons.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "runtime/image/image.h"
#include "tests/scenario/desktop.h"
#include "tests/scenario/playlist_view.h"
#include "tests/scenario/toolbar_probe.h"
#include "tests/support/toolbar_icon_fit.h"

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

// The density the test's own windows and questions use: the screen's, so that
// the program's windows are measured in the screen's pixels, as a person sees
// them. (Per-monitor awareness; Windows before 10 have no such call.)
void measure_in_screen_pixels() {
    using SetContext = void*(WINAPI*)(void*);
    auto set = reinterpret_cast<SetContext>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetThreadDpiAwarenessContext")));
    if (set) set(reinterpret_cast<void*>(-3));  // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE
}

UINT window_dpi(HWND window) {
    using ForWindow = UINT(WINAPI*)(HWND);
    auto for_window = reinterpret_cast<ForWindow>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    return for_window ? for_window(window) : 0;
}

// What the program shows at a density, in the screen's pixels.
struct AtDensity {
    int dpi;
    SIZE inner;           // the main window's inner area: 830 x 620 units
    POINT list_at;        // the list's place, (5, 30) units
    int list_width;       // the inner width less 10 units
    SIZE popup;           // the volume pop-up's inner area, 200 x 50 units
    int pointer_inside;   // where the pointer lies in the pop-up, 10 units from its corner
};
constexpr AtDensity DENSITIES[] = {
    {144, {1245, 930}, {8, 45}, 1230, {300, 75}, 15},
    {192, {1660, 1240}, {10, 60}, 1640, {400, 100}, 20},
};

// Run by tests/scenario/with-dpi 144 or 192, on a screen large enough for the window.
TEST(HighDensityScenario, At144Or192DpiAllIsLargerAndTheToolbarShowsThe32PixelIcons) {
    const char* given = std::getenv("TUNELATHE_TEST_DPI");
    const int dpi = given ? std::atoi(given) : 0;
    const AtDensity* expected = nullptr;
    for (const AtDensity& each : DENSITIES)
        if (each.dpi == dpi) expected = &each;
    ASSERT_NE(expected, nullptr) << "run through tests/scenario/with-dpi 144 or 192";
    measure_in_screen_pixels();
    RunningProgram program;
    ASSERT_NE(program.main_window, nullptr) << "the main window never appeared";
    HWND main_window = program.main_window;
    EXPECT_EQ(window_dpi(main_window), static_cast<UINT>(dpi));

    const SIZE inner = client_size(main_window);
    EXPECT_EQ(inner.cx, expected->inner.cx);
    EXPECT_EQ(inner.cy, expected->inner.cy);
    HWND toolbar = find_toolbar(main_window);
    ASSERT_NE(toolbar, nullptr);
    RECT bar{};
    GetWindowRect(toolbar, &bar);
    const int toolbar_units = ((bar.bottom - bar.top) * 96 + dpi / 2) / dpi;
    EXPECT_GE(toolbar_units, 24) << "buttons larger than at 96 DPI, 22 high there";
    HWND list = find_list(main_window);
    ASSERT_NE(list, nullptr);
    const int list_height = ((620 - toolbar_units - 10) * dpi + 48) / 96;
    EXPECT_TRUE(wait_until([&] {
        const RECT at = rect_in_parent(list);
        return at.left == expected->list_at.x && at.top == expected->list_at.y &&
               at.right - at.left == expected->list_width && at.bottom - at.top == list_height;
    }, 5000)) << "the list at (5, 30) and filling the window, in units of 96 DPI";

    // Each button shows its icon of the 32-pixel set pixel for pixel, far
    // from the 16-pixel icon enlarged.
    image_decoder_png_register();
    mouse_move({bar.right - 5, bar.bottom + 400});  // no button lit up
    Sleep(300);
    std::vector<ToolbarPlace> buttons;
    for (const ToolbarPlace& place : read_toolbar(program.process.handle(), toolbar))
        if (!place.separator) buttons.push_back(place);
    ASSERT_EQ(buttons.size(), 15u);
    for (std::size_t place = 0; place < buttons.size(); ++place) {
        SCOPED_TRACE(place);
        RECT area = buttons[place].rect;
        MapWindowPoints(toolbar, HWND_DESKTOP, reinterpret_cast<POINT*>(&area), 2);
        const int width = area.right - area.left, height = area.bottom - area.top;
        ASSERT_GE(width, 32);
        ASSERT_GE(height, 32);
        const std::vector<unsigned long> shown = screen_pixels(area);
        const int n = IMAGE_AT_PLACE[place];
        EXPECT_LE(best_fit(shown, width, height, toolbar_icon(n, 32)), 2);
        EXPECT_GE(best_fit(shown, width, height, enlarged(toolbar_icon(n, 16))), 40);
    }

    // The volume pop-up: as much larger, the pointer 10 units inside its
    // corner; it closes when the pointer leaves it.
    click_toolbar_button(program.process, main_window, 13);
    HWND popup = program.process.wait_for_window(L"WindowClass_1", 5000);
    ASSERT_NE(popup, nullptr);
    const SIZE popup_inner = client_size(popup);
    EXPECT_EQ(popup_inner.cx, expected->popup.cx);
    EXPECT_EQ(popup_inner.cy, expected->popup.cy);
    POINT pointer{};
    GetCursorPos(&pointer);
    POINT corner{0, 0};
    ClientToScreen(popup, &corner);
    EXPECT_NEAR(pointer.x - corner.x, expected->pointer_inside, 1);
    EXPECT_NEAR(pointer.y - corner.y, expected->pointer_inside, 1);
    mouse_move({corner.x + 200, corner.y + 400});
    EXPECT_TRUE(wait_until([&] { return !IsWindow(popup); }, 5000)) << "the pop-up stayed";

    PostMessageW(main_window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(program.process.wait_for_exit(15000), 0);
}

}  // namespace
