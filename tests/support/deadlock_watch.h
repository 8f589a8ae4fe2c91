// Runs tasks on threads of their own against a time limit, for tests of lock
// order: a deadlock fails the test program instead of hanging it.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "runtime/gui/window.h"

// Each task runs on a new thread while the calling thread dispatches its own
// messages. Returns once every task has ended. A deadlocked thread cannot be
// stopped, so past the limit the process reports `what` on the error output
// and ends with exit code 1.
void run_within_or_end(const std::vector<std::function<void()>>& tasks, DWORD limit_ms, const char* what);

// A race over the window table and a control family's table. The maker opens
// window 20 (hidden), makes a control in it again and again (each replacing the
// last), lets `finish` free it and closes the window; meanwhile the closer opens
// window 21, makes a control in it and closes it, round after round. `make`
// makes the control numbered as its window and says whether it was made. Both
// end within 30 seconds, else the process ends; both windows are gone then.
inline constexpr int RACE_ROUNDS = 200;
inline constexpr ObjectNumber RACE_MAKER = 20;
inline constexpr ObjectNumber RACE_CLOSER = 21;
struct RaceMade {
    int maker = 0;
    int closer = 0;
};
inline RaceMade make_while_windows_close(const std::function<bool(ObjectNumber)>& make,
                                         const std::function<void()>& finish, const char* what) {
    RaceMade made;
    auto maker = [&] {
        window_open(RACE_MAKER, 0, 0, 300, 200, u"maker", WINDOW_HIDDEN);
        for (int i = 0; i < RACE_ROUNDS; ++i) made.maker += make(RACE_MAKER);
        finish();
        window_close(RACE_MAKER);
    };
    auto closer = [&] {
        for (int i = 0; i < RACE_ROUNDS; ++i) {
            window_open(RACE_CLOSER, 0, 0, 300, 200, u"closer", WINDOW_HIDDEN);
            made.closer += make(RACE_CLOSER);
            window_close(RACE_CLOSER);
        }
    };
    run_within_or_end({maker, closer}, 30000, what);
    EXPECT_EQ(window_handle(RACE_MAKER), 0);
    EXPECT_EQ(window_handle(RACE_CLOSER), 0);
    return made;
}
