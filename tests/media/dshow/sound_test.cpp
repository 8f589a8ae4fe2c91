// The sound device check against the real DirectSound: with the private audio
// server it succeeds, without any server it fails; either way the hidden
// window it binds the device to is made and later removed.
#include <gtest/gtest.h>

#include <windows.h>

#include "runtime/media/media.h"
#include "tests/media/dshow/media_test_support.h"

namespace {

constexpr wchar_t HIDDEN_CLASS[] = L"MultimediaBase Class";

HWND hidden_window() { return FindWindowW(HIDDEN_CLASS, L""); }

bool hidden_class_registered() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    return GetClassInfoExW(GetModuleHandleW(nullptr), HIDDEN_CLASS, &wc) != 0;
}

BOOL CALLBACK count_hidden_window(HWND hwnd, LPARAM counter) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    if (lstrcmpW(name, HIDDEN_CLASS) == 0) ++*reinterpret_cast<int*>(counter);
    return TRUE;
}

int hidden_windows_of_this_thread() {
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), count_hidden_window, reinterpret_cast<LPARAM>(&count));
    return count;
}

DWORD WINAPI delay_minus_five(void*) {
    time_delay(-5);
    return 0;
}

TEST(SoundWithAudioServer, DeviceIsUsableAndBoundToAHiddenWindow) {
    if (!audio_phase_is("null-sink")) GTEST_SKIP() << "needs the private audio server (run_media_tests.sh)";
    bool library_was_loaded = GetModuleHandleW(L"DSOUND.DLL") != nullptr;

    EXPECT_NE(sound_init(), 0);
    HWND hidden = hidden_window();
    ASSERT_NE(hidden, nullptr);
    EXPECT_FALSE(IsWindowVisible(hidden));
    EXPECT_EQ(GetParent(hidden), nullptr);
    EXPECT_EQ(GetMenu(hidden), nullptr);
    EXPECT_EQ(GetWindowLongPtrW(hidden, GWL_STYLE) & (WS_POPUP | WS_CHILD), static_cast<LONG_PTR>(WS_POPUP));
    RECT bounds{};
    GetWindowRect(hidden, &bounds);
    EXPECT_EQ(bounds.left, 0);
    EXPECT_EQ(bounds.top, 0);
    EXPECT_EQ(bounds.right - bounds.left, 1);
    EXPECT_EQ(bounds.bottom - bounds.top, 1);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    ASSERT_TRUE(GetClassInfoExW(GetModuleHandleW(nullptr), HIDDEN_CLASS, &wc));
    EXPECT_EQ(wc.style, static_cast<UINT>(CS_DBLCLKS));
    EXPECT_EQ(wc.hbrBackground, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_NE(GetModuleHandleW(L"DSOUND.DLL"), nullptr);

    // A second check reuses the device and the window.
    EXPECT_NE(sound_init(), 0);
    EXPECT_EQ(hidden_window(), hidden);
    EXPECT_EQ(hidden_windows_of_this_thread(), 1);

    sound_end();
    EXPECT_FALSE(IsWindow(hidden));
    EXPECT_FALSE(hidden_class_registered());
    if (!library_was_loaded) {
        EXPECT_EQ(GetModuleHandleW(L"DSOUND.DLL"), nullptr);
    }

    // Everything can be made again after the end.
    EXPECT_NE(sound_init(), 0);
    EXPECT_NE(hidden_window(), nullptr);
    sound_end();
    EXPECT_EQ(hidden_window(), nullptr);
    sound_end();  // a second end finds nothing to do
}

TEST(SoundWithoutAudioServer, DeviceCheckFailsAndEndCleansUp) {
    if (!audio_phase_is("none")) GTEST_SKIP() << "needs a run without any audio server (run_media_tests.sh)";
    EXPECT_EQ(sound_init(), 0);
    // The steps already taken stay until the end.
    EXPECT_NE(hidden_window(), nullptr);
    // A second check fails again rather than reporting a half-made device.
    EXPECT_EQ(sound_init(), 0);
    EXPECT_EQ(hidden_windows_of_this_thread(), 1);
    sound_end();
    EXPECT_EQ(hidden_window(), nullptr);
    EXPECT_FALSE(hidden_class_registered());
}

TEST(TimeDelay, SuspendsForAtLeastTheDelay) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    time_delay(40);
    QueryPerformanceCounter(&end);
    double ms = 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
    EXPECT_GE(ms, 39.0);
}

TEST(TimeDelay, NegativeDelayReturnsAtOnce) {
    HANDLE thread = CreateThread(nullptr, 0, delay_minus_five, nullptr, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    DWORD waited = WaitForSingleObject(thread, 10000);
    EXPECT_EQ(waited, WAIT_OBJECT_0) << "time_delay(-5) did not return";
    if (waited != WAIT_OBJECT_0) TerminateThread(thread, 1);
    CloseHandle(thread);
}

}  // namespace
