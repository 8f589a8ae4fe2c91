// Start-up time of the program, from process start to its main window shown,
// against a bare Win32 program that opens one window, measured alternately in
// the same Wine session. The program's boxes before its main window (no
// sound, the testing notice) are answered as soon as they appear; the time
// they take to come is part of the program's start.
//
// The program runs in this environment: with PULSE_SERVER naming a running
// audio server (scripts/audio-server start) it starts as with working sound,
// checking the sound and video layers; with PULSE_SERVER naming nothing it
// takes the no-sound path and its box.
//
//   startup_bench [runs]     prints each run, the medians and the ratio program / bare
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <vector>

#include "tests/scenario/desktop.h"
#include "tests/scenario/program_process.h"

namespace {

constexpr DWORD TIME_OUT_MS = 30000;

double now_ms() {
    static const LONGLONG frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f.QuadPart;
    }();
    LARGE_INTEGER count;
    QueryPerformanceCounter(&count);
    return 1000.0 * static_cast<double>(count.QuadPart) / static_cast<double>(frequency);
}

struct StartTimes {
    double first_box = -1;  // from process start to its first box, if any
    double window = -1;     // from process start to its window; -1 on failure
};

// Times from the process start to its first box and to its visible window of
// that class (with its list, if it has one), pressing OK on each box on the
// way; then closes the window.
StartTimes start_until_window(ProgramProcess& program, double started, const wchar_t* window_class) {
    StartTimes times;
    if (!program.started()) return times;
    HWND window = nullptr;
    while (now_ms() - started < TIME_OUT_MS) {
        auto windows = program.windows(window_class);
        if (!windows.empty() && (lstrcmpW(window_class, L"WindowClass_0") != 0 ||
                                 FindWindowExW(windows.front(), nullptr, L"ListBox", nullptr))) {
            times.window = now_ms() - started;
            window = windows.front();
            break;
        }
        for (HWND box : program.windows(L"#32770")) {
            if (times.first_box < 0) times.first_box = now_ms() - started;
            press_button(box, IDOK);
        }
        Sleep(1);
    }
    if (!window) return {};
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    if (program.wait_for_exit(TIME_OUT_MS) != 0) return {};
    return times;
}

StartTimes bare_start() {
    double started = now_ms();
    ProgramProcess bare(wine_path(BARE_WINDOW_EXE));
    return start_until_window(bare, started, L"BareWindow");
}

StartTimes program_start() {
    double started = now_ms();
    ProgramProcess program(tunelathe_path());
    return start_until_window(program, started, L"WindowClass_0");
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    int runs = argc > 1 ? std::max(1, static_cast<int>(std::wcstol(argv[1], nullptr, 10))) : 10;
    // One start of each first: Wine loads its libraries into the page cache.
    if (bare_start().window < 0 || program_start().window < 0) {
        std::printf("startup_bench: a program did not start or close\n");
        return 1;
    }
    std::vector<double> bare, program, first_box;
    for (int run = 0; run < runs; ++run) {
        StartTimes b = bare_start(), p = program_start();
        if (b.window < 0 || p.window < 0) {
            std::printf("startup_bench: run %d failed\n", run + 1);
            return 1;
        }
        bare.push_back(b.window);
        program.push_back(p.window);
        first_box.push_back(p.first_box);
        std::printf("run %2d: bare %7.1f ms, program %7.1f ms (first box at %.1f ms)\n", run + 1, b.window,
                    p.window, p.first_box);
    }
    double bare_median = median(bare), program_median = median(program);
    std::printf("median of %d runs: bare window %.1f ms, program %.1f ms (first box at %.1f ms)\n", runs,
                bare_median, program_median, median(first_box));
    std::printf("ratio program / bare: %.2f (goal <= 1.3)\n", program_median / bare_median);
    return 0;
}
