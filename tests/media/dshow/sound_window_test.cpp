// What the sound device check leaves under Windows: the hidden window it
// binds the device to, made by the first check, reused by the next and
// removed by the end, whether or not the device was usable. The results of
// the checks are in ../sound_test.cpp.
#include <gtest/gtest.h>

#include <windows.h>

#include "runtime/media/media.h"
#include "tests/media/media_files.h"

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

TEST(SoundWithAudioServer, TheDeviceIsBoundToAHiddenWindow) {
    ASSERT_TRUE(audio_phase_is("null-sink")) << "needs the private audio server (run_media_tests.sh)";
    bool library_was_loaded = GetModuleHandleW(L"DSOUND.DLL") != nullptr;

    ASSERT_NE(sound_init(), 0);
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

    ASSERT_NE(sound_init(), 0);
    EXPECT_EQ(hidden_window(), hidden);
    EXPECT_EQ(hidden_windows_of_this_thread(), 1);

    sound_end();
    EXPECT_FALSE(IsWindow(hidden));
    EXPECT_FALSE(hidden_class_registered());
    if (!library_was_loaded) {
        EXPECT_EQ(GetModuleHandleW(L"DSOUND.DLL"), nullptr);
    }

    // Everything is made again after the end.
    ASSERT_NE(sound_init(), 0);
    EXPECT_NE(hidden_window(), nullptr);
    sound_end();
    EXPECT_EQ(hidden_window(), nullptr);
}

TEST(SoundWithoutAudioServer, TheHiddenWindowStaysUntilTheEnd) {
    ASSERT_TRUE(audio_phase_is("none")) << "needs a run without any audio server (run_media_tests.sh)";
    ASSERT_EQ(sound_init(), 0);
    // The steps already taken stay until the end.
    EXPECT_NE(hidden_window(), nullptr);
    ASSERT_EQ(sound_init(), 0);
    EXPECT_EQ(hidden_windows_of_this_thread(), 1);
    sound_end();
    EXPECT_EQ(hidden_window(), nullptr);
    EXPECT_FALSE(hidden_class_registered());
}

}  // namespace
