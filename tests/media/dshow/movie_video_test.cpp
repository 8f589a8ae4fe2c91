// Video files under Windows: the video window at its native size, and
// playing in a window of the caller's or in one of its own. The native size
// itself is checked in ../movie_test.cpp.
#include <gtest/gtest.h>

#include "runtime/media/dshow/movie_record.h"
#include "runtime/media/media.h"
#include "tests/media/media_files.h"
#include "tests/media/movie_probe.h"
#include "tests/support/win32_plain_window.h"

namespace {

class MovieVideo : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(audio_phase_is("null-sink")) << "needs the private audio server (run_media_tests.sh)";
        ASSERT_NE(movie_init(), 0);
        const std::u16string video = media_file(u"video.avi");
        ASSERT_TRUE(write_avi(video, 160, 120, 30));
        ASSERT_NE(movie_load(0, video.c_str()), 0);
        window = movie_find(0)->video_window;
    }
    void TearDown() override {
        movie_end();
        if (owner) DestroyWindow(owner);
        native_idle(0);
    }

    // Plays in the owner's window (0: one of its own); the video window's owner
    // as it then is, once the video visibly advances.
    OAHWND play_in(HWND in) {
        EXPECT_EQ(movie_play(0, reinterpret_cast<std::intptr_t>(in)), 1);
        native_idle(0);
        OAHWND current = 1;
        EXPECT_EQ(window->get_Owner(&current), S_OK);
        long visible = OAFALSE;
        EXPECT_EQ(window->get_Visible(&visible), S_OK);
        EXPECT_EQ(visible, OATRUE);
        EXPECT_EQ(native_state(0), NATIVE_PLAYING);
        EXPECT_TRUE(wait_for_position(0, 1.0)) << "the video did not advance";
        return current;
    }

    IVideoWindow* window = nullptr;
    HWND owner = nullptr;
};

TEST_F(MovieVideo, TheWindowIsPlacedAtTheNativeSize) {
    long left = -1, top = -1, width = 0, height = 0;
    ASSERT_EQ(window->GetWindowPosition(&left, &top, &width, &height), S_OK);
    EXPECT_EQ(left, 0);
    EXPECT_EQ(top, 0);
    EXPECT_EQ(width, 160);
    EXPECT_EQ(height, 120);
}

TEST_F(MovieVideo, PlaysAsAChildOfTheOwnerWindow) {
    owner = plain_window(L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 320, 240);
    ASSERT_NE(owner, nullptr);
    native_idle(0);
    EXPECT_EQ(play_in(owner), reinterpret_cast<OAHWND>(owner));
    long style = 0;
    ASSERT_EQ(window->get_WindowStyle(&style), S_OK);
    EXPECT_EQ(style & (WS_CHILD | WS_CLIPSIBLINGS | WS_POPUP), WS_CHILD | WS_CLIPSIBLINGS);
    HWND child = FindWindowExW(owner, nullptr, nullptr, nullptr);
    ASSERT_NE(child, nullptr);
    EXPECT_TRUE(IsWindowVisible(child));
    movie_free(0);  // before the owner window goes
    EXPECT_EQ(FindWindowExW(owner, nullptr, nullptr, nullptr), nullptr);
}

TEST_F(MovieVideo, WithoutOwnerTheVideoHasAWindowOfItsOwn) { EXPECT_EQ(play_in(nullptr), 0); }

}  // namespace
