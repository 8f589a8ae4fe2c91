#include "tests/support/deadlock_watch.h"

#include <atomic>
#include <cstdio>
#include <thread>

void run_within_or_end(const std::vector<std::function<void()>>& tasks, DWORD limit_ms, const char* what) {
    HANDLE all_ended = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<std::size_t> running{tasks.size()};
    std::vector<std::thread> threads;
    for (const std::function<void()>& task : tasks) {
        threads.emplace_back([&, task] {
            task();
            if (--running == 0) SetEvent(all_ended);
        });
    }
    const ULONGLONG deadline = GetTickCount64() + limit_ms;
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) {
            std::fprintf(stderr, "%s: still running after %lu ms, deadlocked\n", what, limit_ms);
            std::fflush(stderr);
            TerminateProcess(GetCurrentProcess(), 1);
        }
        const DWORD woken = MsgWaitForMultipleObjects(1, &all_ended, FALSE, static_cast<DWORD>(deadline - now),
                                                      QS_ALLINPUT);
        if (woken == WAIT_OBJECT_0) break;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    for (std::thread& thread : threads) thread.join();
    CloseHandle(all_ended);
}
