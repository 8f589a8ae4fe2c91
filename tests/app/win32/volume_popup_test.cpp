// The volume pop-up under Windows: it runs its own loop on the test thread;
// a person on another thread looks at it through its trackbar and tool tip,
// moves the slider and moves the pointer away.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "app/app_state.h"
#include "app/playback.h"
#include "runtime/gui/window.h"
#include "runtime/media/volume_table.h"
#include "tests/app/playback_probe.h"
#include "tests/app/playback_test.h"
#include "tests/support/monitor_probe.h"
#include "tests/support/volume_step.h"
#include "tests/support/window_lists.h"

namespace {

using namespace std::chrono_literals;

struct PopupView {
    HWND popup = nullptr;
    POINT origin{};  // the inner area's top-left corner on the screen
    RECT inner{};
    int mouse_x = 0, mouse_y = 0;  // window_mouse_x/y of the pop-up
    int slider = -1;
    std::wstring tooltip;
    bool stayed_open = false;  // while events came with the pointer inside
    std::wstring moved_tooltip;
    bool closed = false;
};

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
    if (!eventually([&] { return (view.popup = find_popup(thread)) != nullptr; })) return view;
    HWND popup = view.popup;
    ClientToScreen(popup, &view.origin);
    GetClientRect(popup, &view.inner);
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

PopupView change_volume(POINT pointer, int move_to, POINT leave_at) {
    SetCursorPos(pointer.x, pointer.y);
    PopupView view;
    std::thread person([&, thread = GetCurrentThreadId()] { view = use_popup(thread, move_to, leave_at); });
    ChangeVolume();
    person.join();
    return view;
}

TEST_F(Playback, VolumePopupSetsTheVolumeOfThePlayingAndTheNextSong) {
    drop_songs();
    PlaySelectedSong();
    ASSERT_EQ(song_level(), volume_level(75));
    const double at_75 = hear_settled().rms_peak.overall;

    PopupView view = change_volume({400, 300}, 40, {1200, 1000});
    ASSERT_NE(view.popup, nullptr) << "no pop-up appeared";
    EXPECT_EQ(view.origin.x, 390);
    EXPECT_EQ(view.origin.y, 290);
    EXPECT_EQ(view.inner.right, 200);
    EXPECT_EQ(view.inner.bottom, 50);
    EXPECT_EQ(view.mouse_x, 10);
    EXPECT_EQ(view.mouse_y, 10);
    EXPECT_EQ(view.slider, 75);
    EXPECT_EQ(view.tooltip, L"Volume: 75");
    EXPECT_TRUE(view.stayed_open) << "closed with the pointer inside";
    EXPECT_EQ(view.moved_tooltip, L"Volume: 40");
    EXPECT_TRUE(view.closed);
    EXPECT_EQ(window_handle(VOLUME_WINDOW), 0);
    EXPECT_EQ(app.volume, 40);
    expect_playing(first);
    EXPECT_EQ(song_level(), volume_level(40));
    EXPECT_NEAR(hear_settled().rms_peak.overall - at_75, volume_step_db(75, 40), 1.0) << "the playing song got quieter";

    // Nothing playing: the pop-up opens at the remembered value, and the
    // pointer on its leftmost column closes it; the next song gets the volume.
    StopSong();
    view = change_volume({600, 500}, 100, {590, 510});
    ASSERT_NE(view.popup, nullptr) << "no pop-up appeared";
    EXPECT_EQ(view.origin.x, 590);
    EXPECT_EQ(view.slider, 40);
    EXPECT_EQ(view.tooltip, L"Volume: 40");
    EXPECT_EQ(view.moved_tooltip, L"Volume: 100");
    EXPECT_TRUE(view.closed);
    EXPECT_EQ(app.volume, 100);
    expect_nothing_loaded();
    PlaySelectedSong();
    expect_playing(first);
    EXPECT_EQ(song_level(), volume_level(100));
    EXPECT_NEAR(hear_settled().rms_peak.overall - at_75, volume_step_db(75, 100), 1.0) << "the next song plays louder";
}

}  // namespace
