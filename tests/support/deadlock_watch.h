// Runs tasks on threads of their own against a time limit, for tests of lock
// order: a deadlock fails the test program instead of hanging it.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

// Each task runs on a new thread while the calling thread dispatches its own
// messages. Returns once every task has ended. A deadlocked thread cannot be
// stopped, so past the limit the process reports `what` on the error output
// and ends with exit code 1.
void run_within_or_end(const std::vector<std::function<void()>>& tasks, DWORD limit_ms, const char* what);
