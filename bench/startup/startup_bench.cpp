// Start-up time of the program against its floor (startup_floor.cpp: the
// same platform work at start with none of the runtime), both started
// alternately in the same Wine session and watched by the same loop:
//
// - start: from CreateProcess to the main window shown complete, visible with
//   its list box. Boxes are answered with OK as soon as they are seen; the
//   time they take to come is part of the start.
// - first paint: from that show until the window and all its children have no
//   update region left (each one's WM_PAINT has begun: BeginPaint validates)
//   and the window's thread has then answered a sent WM_NULL, which it only
//   does from its message loop, so once the last of those paints returned.
//
// The floor must show the same boxes as the program in every run, or the
// comparison is void and the benchmark fails.
//
// Both run in this environment: with PULSE_SERVER naming a running audio
// server (scripts/audio-server start) they start with working sound and check
// the video layer too; with PULSE_SERVER naming nothing they take the no-sound
// path and its box.
//
//   startup_bench [runs]     prints each run, the medians with their spread and the ratio program / floor
//                            (the median of the runs' ratios)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "bench/spread.h"
#include "tests/scenario/desktop.h"
#include "tests/scenario/program_process.h"

namespace {

constexpr DWORD TIME_OUT_MS = 30000;
constexpr double GOAL = 1.15;

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

struct Start {
    double shown = -1;    // from process start to the main window shown complete
    double painted = -1;  // from that show to its first paint complete
    std::vector<std::wstring> boxes;  // titles of the boxes answered, in order
    std::vector<HWND> answered;
    std::string failure;  // what went wrong; empty when the start was timed
};

Start failed(std::string what) {
    Start start;
    start.failure = std::move(what);
    return start;
}

bool visible(HWND top_level) { return (GetWindowLongPtrW(top_level, GWL_STYLE) & WS_VISIBLE) != 0; }

// What one look at the program's main thread finds. Its boxes and its main
// window are made there, so one request lists them: few requests per look keep
// the watching from slowing down the program it watches.
struct Look {
    std::vector<HWND> boxes;  // visible ones
    HWND window = nullptr;    // the main window, once shown with its list
};

Look look(const ProgramProcess& program, const wchar_t* window_class) {
    Look found;
    for (HWND hwnd : thread_windows(program.main_thread_id())) {
        const std::wstring name = class_name(hwnd);
        if (name == L"#32770" && visible(hwnd)) found.boxes.push_back(hwnd);
        // The list is made while the window is hidden: visibility is read after it is found.
        if (name == window_class && FindWindowExW(hwnd, nullptr, L"ListBox", nullptr) && visible(hwnd))
            found.window = hwnd;
    }
    return found;
}

bool paint_pending(HWND window) {
    if (GetUpdateRect(window, nullptr, FALSE)) return true;
    for (HWND child : child_windows(window))
        if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE)) return true;
    return false;
}

void answer(const std::vector<HWND>& boxes, Start& start) {
    for (HWND box : boxes) {
        if (std::find(start.answered.begin(), start.answered.end(), box) == start.answered.end()) {
            wchar_t title[128] = L"";
            GetWindowTextW(box, title, 128);  // read without a message to the box
            start.boxes.push_back(title);
            start.answered.push_back(box);
        }
        press_button(box, IDOK);
    }
}

// Starts the program, answers its boxes, times its main window of that class
// shown and painted, then closes it.
Start timed_start(const std::wstring& path, const wchar_t* window_class) {
    Start start;
    double started = now_ms();
    std::optional<ProgramProcess> started_process;
    started_process.emplace(path);
    if (!started_process->started()) {
        // Wine on a loaded machine now and then fails to create a process at
        // all, before any of the program runs: one more try, said aloud.
        std::printf("startup_bench: could not start %ls (error %lu); trying once more\n", path.c_str(),
                    GetLastError());
        started = now_ms();
        started_process.emplace(path);
        if (!started_process->started())
            return failed("did not start (error " + std::to_string(GetLastError()) + ")");
    }
    ProgramProcess& program = *started_process;
    HWND window = nullptr;
    double shown_at = 0;
    while (now_ms() - started < TIME_OUT_MS) {
        if (!window) {
            const Look found = look(program, window_class);
            const double looked_at = now_ms();
            if ((window = found.window)) {
                shown_at = looked_at;
                start.shown = shown_at - started;
            }
            answer(found.boxes, start);
        }
        if (window && !paint_pending(window)) {
            DWORD_PTR ignored = 0;
            if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, TIME_OUT_MS, &ignored))
                return failed("did not answer after its first paint");
            start.painted = now_ms() - shown_at;
            break;
        }
        Sleep(1);
    }
    if (!window) return failed("showed no main window");
    if (start.painted < 0) return failed("did not finish its first paint");
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    const long exit_code = program.wait_for_exit(TIME_OUT_MS);
    if (exit_code != 0) return failed(exit_code == -1 ? "did not end when closed" : "ended with an error");
    return start;
}

Start floor_start() { return timed_start(wine_path(STARTUP_FLOOR_EXE), L"StartupFloor"); }
Start program_start() { return timed_start(tunelathe_path(), L"WindowClass_0"); }

std::wstring joined(const std::vector<std::wstring>& titles) {
    std::wstring text;
    for (const std::wstring& title : titles) text += (text.empty() ? L"" : L", ") + title;
    return text.empty() ? L"none" : text;
}

// Prints what failed in the run (0: the first starts), if anything; true if something did.
bool report_failure(int run, const Start& floor, const Start& program) {
    for (const auto& [name, start] : {std::pair{"floor", &floor}, std::pair{"program", &program}}) {
        if (start->failure.empty()) continue;
        std::printf("startup_bench: run %d: the %s %s\n", run, name, start->failure.c_str());
        return true;
    }
    return false;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int runs = argc > 1 ? std::max(1, static_cast<int>(std::wcstol(argv[1], nullptr, 10))) : 10;
    // One start of each first: Wine loads its libraries into the page cache.
    if (report_failure(0, floor_start(), program_start())) return 1;
    std::vector<double> floor_shown, program_shown, ratios, floor_painted, program_painted;
    std::vector<std::wstring> boxes;
    for (int run = 1; run <= runs; ++run) {
        const Start floor = floor_start(), program = program_start();
        if (report_failure(run, floor, program)) return 1;
        if (floor.boxes != program.boxes) {
            std::printf("startup_bench: run %d: the floor showed %ls, the program %ls\n", run,
                        joined(floor.boxes).c_str(), joined(program.boxes).c_str());
            return 1;
        }
        boxes = program.boxes;
        floor_shown.push_back(floor.shown);
        program_shown.push_back(program.shown);
        ratios.push_back(program.shown / floor.shown);
        floor_painted.push_back(floor.painted);
        program_painted.push_back(program.painted);
        std::printf("run %2d: floor %7.1f ms, program %7.1f ms; show to paint: floor %5.1f ms, program %5.1f ms\n",
                    run, floor.shown, program.shown, floor.painted, program.painted);
    }
    std::printf("boxes answered in each run: %ls\n", joined(boxes).c_str());
    std::printf("median  [quartiles]  (lowest .. highest) of %d runs:\n", runs);
    print_spread("start, floor", floor_shown, " ms");
    print_spread("start, program", program_shown, " ms");
    print_spread("show to first paint, floor", floor_painted, " ms");
    print_spread("show to first paint, program", program_painted, " ms");
    print_spread("ratio program / floor, per run", ratios, "");
    std::printf("ratio of the medians: %.2f\n", spread(program_shown).median / spread(floor_shown).median);
    // The goal is judged on the runs' own ratios: a floor and a program started
    // back to back see the same load, which on a shared machine drifts more
    // between runs than the programs differ.
    const double ratio = spread(ratios).median;
    std::printf("ratio program / floor: %.2f (goal <= %.2f) %s\n", ratio, GOAL, ratio <= GOAL ? "met" : "missed");
    return 0;
}
