// Start-up time of the native program against its floor (startup_floor.cpp:
// the same platform work at start with none of the runtime), both started
// alternately on the same X display and watched by the same loop: from the
// start of the process until its main window is mapped, complete with its
// toolbar and list. The harness hears of every top-level window the moment
// the X server maps it (no polling), and answers each box at once as a
// person would: focus, then Return; the time boxes take to come is part of
// the start.
//
// The floor must show the same boxes as the program in every run, or the
// comparison is void and the benchmark fails. Both run in this environment:
// with PULSE_SERVER naming a running audio server (scripts/audio-server
// start) they start with sound and show the notice only; otherwise (the
// default here is unix:/nonexistent) they take the no-sound path and show two
// boxes.
//
//   startup_bench [runs]   run on an X display: cmake/with-display build/linux-bench/bench/gtk/startup_bench
//
// Prints each run, the medians with their spread and the ratio program /
// floor (the median of the runs' own ratios). Exit code 1 when the goal is
// missed or a start failed.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/spread.h"

extern char** environ;

namespace {

constexpr double GOAL = 1.3;
constexpr double TIME_OUT_MS = 30000;
constexpr char PROGRAM_TITLE[] = ".: Tunelathe :.V 0.5.206";
constexpr char FLOOR_TITLE[] = "Start-up floor";
const std::vector<std::string> BOX_TITLES = {"No sound available!", "Information on TESTING version"};

double now_ms() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// The X server as the harness sees it: every top-level window mapped.
class XWatch {
public:
    XWatch() : display_(XOpenDisplay(nullptr)) {
        if (!display_) return;
        // A window may be gone by the time it is looked at.
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
        XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask);
        XSync(display_, False);
    }
    ~XWatch() {
        if (display_) XCloseDisplay(display_);
    }
    bool open() const { return display_ != nullptr; }

    // The next top-level window mapped within the time, 0 when none was.
    Window next_mapped(double until_ms) {
        for (;;) {
            while (XPending(display_)) {
                XEvent event;
                XNextEvent(display_, &event);
                if (event.type == MapNotify) return event.xmap.window;
            }
            const double left = until_ms - now_ms();
            if (left <= 0) return 0;
            pollfd connection{ConnectionNumber(display_), POLLIN, 0};
            poll(&connection, 1, static_cast<int>(std::min(left, 50.0)) + 1);
        }
    }
    std::string title(Window window) {
        Atom type = 0;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* data = nullptr;
        std::string text;
        if (XGetWindowProperty(display_, window, XInternAtom(display_, "_NET_WM_NAME", False), 0, 1024, False,
                               XInternAtom(display_, "UTF8_STRING", False), &type, &format, &items, &after,
                               &data) == Success &&
            data)
            text.assign(reinterpret_cast<char*>(data), items);
        if (data) XFree(data);
        return text;
    }
    // A person's answer: the box gets the keyboard focus, then Return.
    void press_return(Window box) {
        XSetInputFocus(display_, box, RevertToParent, CurrentTime);
        const KeyCode code = XKeysymToKeycode(display_, XK_Return);
        XTestFakeKeyEvent(display_, code, True, CurrentTime);
        XTestFakeKeyEvent(display_, code, False, CurrentTime);
        XSync(display_, False);
    }
    // What a window manager sends when its close button is pressed.
    void close_request(Window window) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(display_, window, False, NoEventMask, &event);
        XSync(display_, False);
    }
    bool viewable(Window window) {
        XWindowAttributes attributes{};
        return XGetWindowAttributes(display_, window, &attributes) && attributes.map_state == IsViewable;
    }

private:
    Display* display_;
};

struct Start {
    double shown = -1;               // from process start to the main window mapped
    std::vector<std::string> boxes;  // titles of the boxes answered, in order
    std::string failure;             // empty when the start was timed
};

// The exit code once the process ended; -1 after the time (it is then killed).
int exit_code(pid_t process, double until_ms) {
    while (now_ms() < until_ms) {
        int status = 0;
        if (waitpid(process, &status, WNOHANG) == process) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        usleep(2000);
    }
    kill(process, SIGKILL);
    waitpid(process, nullptr, 0);
    return -1;
}

// Starts the program, answers its boxes, times its main window of that title
// shown, then closes it.
Start timed_start(XWatch& screen, const char* path, const std::string& main_title) {
    Start start;
    const double started = now_ms();
    pid_t process = 0;
    char* argv[] = {const_cast<char*>(path), nullptr};
    if (posix_spawn(&process, path, nullptr, nullptr, argv, environ) != 0) {
        start.failure = "could not be started";
        return start;
    }
    Window main = 0;
    std::vector<Window> answered;
    while (!main) {
        const Window window = screen.next_mapped(started + TIME_OUT_MS);
        if (!window) break;
        const double mapped_at = now_ms();
        const std::string title = screen.title(window);
        if (title == main_title) {
            main = window;
            start.shown = mapped_at - started;
        } else if (std::find(BOX_TITLES.begin(), BOX_TITLES.end(), title) != BOX_TITLES.end()) {
            start.boxes.push_back(title);
            screen.press_return(window);
            answered.push_back(window);
        }
    }
    if (!main) {
        start.failure = "showed no main window";
        kill(process, SIGKILL);
        waitpid(process, nullptr, 0);
        return start;
    }
    for (Window box : answered)
        if (screen.viewable(box)) start.failure = "kept a box open";
    screen.close_request(main);
    const int code = exit_code(process, now_ms() + TIME_OUT_MS);
    if (code != 0) start.failure = code == -1 ? "did not end when closed" : "ended with an error";
    return start;
}

std::string joined(const std::vector<std::string>& titles) {
    std::string text;
    for (const std::string& title : titles) text += (text.empty() ? "" : ", ") + title;
    return text.empty() ? "none" : text;
}

bool failed(int run, const Start& floor, const Start& program) {
    for (const auto& [name, start] : {std::pair{"floor", &floor}, std::pair{"program", &program}}) {
        if (start->failure.empty()) continue;
        std::printf("startup_bench: run %d: the %s %s\n", run, name, start->failure.c_str());
        return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    // Without an address libpulse might start a sound server of its own.
    setenv("PULSE_SERVER", "unix:/nonexistent", 0);
    XWatch screen;
    if (!screen.open()) {
        std::printf("startup_bench: no X display\n");
        return 1;
    }
    auto floor_start = [&] { return timed_start(screen, STARTUP_FLOOR, FLOOR_TITLE); };
    auto program_start = [&] { return timed_start(screen, TUNELATHE_PROGRAM, PROGRAM_TITLE); };
    // One start of each first: the libraries come into the page cache.
    if (failed(0, floor_start(), program_start())) return 1;
    std::vector<double> floor_shown, program_shown, ratios;
    std::vector<std::string> boxes;
    for (int run = 1; run <= runs; ++run) {
        const Start floor = floor_start(), program = program_start();
        if (failed(run, floor, program)) return 1;
        if (floor.boxes != program.boxes) {
            std::printf("startup_bench: run %d: the floor showed %s, the program %s\n", run,
                        joined(floor.boxes).c_str(), joined(program.boxes).c_str());
            return 1;
        }
        boxes = program.boxes;
        floor_shown.push_back(floor.shown);
        program_shown.push_back(program.shown);
        ratios.push_back(program.shown / floor.shown);
        std::printf("run %2d: floor %7.1f ms, program %7.1f ms\n", run, floor.shown, program.shown);
    }
    std::printf("boxes answered in each run: %s\n", joined(boxes).c_str());
    std::printf("median  [quartiles]  (lowest .. highest) of %d runs:\n", runs);
    print_spread("start, floor", floor_shown, " ms");
    print_spread("start, program", program_shown, " ms");
    print_spread("ratio program / floor, per run", ratios, "");
    // Judged on the runs' own ratios: a floor and a program started back to
    // back see the same load, which on a shared machine drifts more between
    // runs than the programs differ.
    const double ratio = spread(ratios).median;
    const bool met = ratio <= GOAL;
    std::printf("start to main window shown: program / floor = %.2f (goal <= %.1f: %s)\n", ratio, GOAL,
                met ? "met" : "NOT met");
    return met ? 0 : 1;
}
