// Requesters under Windows, beside the behaviour every back end shares: the
// owner when the foreground is another program's, topmost windows losing
// that status while a requester is open, suspension staying with its thread,
// and the open dialog's name field.
#include "runtime/gui/requester.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "tests/gui/requester_suite.h"
#include "tests/support/win32_dialogs.h"
#include "tests/support/win32_plain_window.h"

namespace {

// Plain top-level windows of the test thread, made past the runtime as
// another part of the program would.
HWND open_window(const wchar_t* title, DWORD ex_style = 0, bool visible = true) {
    return plain_window(title, WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0), ex_style);
}

bool is_topmost(HWND hwnd) { return (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

class Win32Requesters : public RequesterSuite {
protected:
    void TearDown() override {
        for (HWND hwnd : windows_) DestroyWindow(hwnd);
        RequesterSuite::TearDown();
        pump_messages();
    }
    HWND window(const wchar_t* title, DWORD ex_style = 0, bool visible = true) {
        HWND hwnd = open_window(title, ex_style, visible);
        windows_.push_back(hwnd);
        pump_messages();
        return hwnd;
    }
    // The runtime's main window, in front again after the test's own.
    HWND main_window() {
        bring_to_front(MAIN);
        return reinterpret_cast<HWND>(window_handle(MAIN));
    }

    std::vector<HWND> windows_;
};

TEST_F(Win32Requesters, OwnerIsNoneWhenTheForegroundIsNotOurs) {
    window_close(MAIN);
    ASSERT_NE(window_open(MAIN, 40, 40, 400, 300, u"Hidden", WS_OVERLAPPEDWINDOW | WINDOW_HIDDEN), 0);
    // A window of another process has the foreground, or none does: either way
    // no window of ours.
    DWORD process = 0;
    if (GetForegroundWindow()) {
        GetWindowThreadProcessId(GetForegroundWindow(), &process);
        if (process == GetCurrentProcessId()) {
            SetForegroundWindow(GetDesktopWindow());
            pump_messages();
        }
    }
    process = 0;
    if (GetForegroundWindow()) GetWindowThreadProcessId(GetForegroundWindow(), &process);
    if (process == GetCurrentProcessId()) GTEST_SKIP() << "the foreground cannot leave this process here";
    EXPECT_EQ(requester_owner(), 0);

    RequesterAnswer person(Press::Ok);
    EXPECT_EQ(requester_message(u"Notice", u"No owner", REQUESTER_OK), ANSWER_OK);
    ASSERT_TRUE(person.answered());
    EXPECT_EQ(person.seen().owner, -1);
}

TEST_F(Win32Requesters, ATopmostWindowIsNoLongerTopmostWhileARequesterIsOpen) {
    HWND topmost = window(L"topmost", WS_EX_TOPMOST);
    main_window();
    ASSERT_TRUE(is_topmost(topmost));
    for (bool file_dialog : {false, true}) {
        SCOPED_TRACE(file_dialog ? "save dialog" : "message box");
        std::atomic<bool> enabled{true}, still_topmost{true};
        RequesterAnswer person(Press::Cancel, [&] {
            enabled = IsWindowEnabled(topmost) != FALSE;
            still_topmost = is_topmost(topmost);
        });
        if (file_dialog)
            requester_save_file(u"Save file", u"Playlist.m3u", u"Playlist (*.m3u)|*.m3u", 0);
        else
            requester_message(u"Unsaved Data!", u"Save?", REQUESTER_YES_NO_CANCEL);
        ASSERT_TRUE(person.answered());
        EXPECT_FALSE(enabled);
        EXPECT_FALSE(still_topmost);
        EXPECT_TRUE(IsWindowEnabled(topmost));
        EXPECT_TRUE(is_topmost(topmost));
    }
}

TEST_F(Win32Requesters, EachThreadRestoresOnlyItsOwnWindows) {
    HWND mine = window(L"mine");
    main_window();

    HANDLE suspended = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE go_on = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<HWND> theirs{nullptr};
    std::atomic<bool> theirs_enabled_at_end{false};
    std::thread other([&] {
        // Shown without taking the foreground, which would exempt it.
        HWND hwnd = open_window(L"theirs", 0, false);
        ShowWindow(hwnd, SW_SHOWNOACTIVATE);
        theirs = hwnd;
        pump_messages();
        windows_suspend();
        SetEvent(suspended);
        while (WaitForSingleObject(go_on, 10) == WAIT_TIMEOUT) pump_messages();
        windows_restore();
        theirs_enabled_at_end = IsWindowEnabled(hwnd) != FALSE;
        DestroyWindow(hwnd);
    });
    ASSERT_EQ(WaitForSingleObject(suspended, 10000), WAIT_OBJECT_0);
    EXPECT_FALSE(IsWindowEnabled(theirs));
    EXPECT_TRUE(IsWindowEnabled(mine)) << "another thread's suspend leaves this thread's windows alone";

    windows_suspend();
    EXPECT_FALSE(IsWindowEnabled(mine));
    windows_restore();
    EXPECT_TRUE(IsWindowEnabled(mine));
    EXPECT_FALSE(IsWindowEnabled(theirs)) << "restored by the wrong thread";

    SetEvent(go_on);
    other.join();
    EXPECT_TRUE(theirs_enabled_at_end);
    CloseHandle(suspended);
    CloseHandle(go_on);
}

// Unlike the GTK chooser's, the open dialog has a name field: it shows the
// default file's name, which OK then chooses.
TEST_F(Win32Requesters, TheOpenDialogShowsTheDefaultName) {
    RequesterAnswer person(Press::Ok);
    const char16_t* chosen =
        requester_open_file(u"Open M3U file", default_file(u"list.m3u").c_str(), u"Playlist (*.m3u)|*.m3u", 0);
    EXPECT_EQ(std::u16string(chosen), default_file(u"list.m3u"));
    EXPECT_EQ(person.seen().name, u"list.m3u");
    EXPECT_EQ(person.requesters_shown(), 1);
}

}  // namespace
