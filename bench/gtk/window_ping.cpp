#include "bench/gtk/window_ping.h"

#include <glib.h>
#include <poll.h>

#include <algorithm>
#include <chrono>

namespace {

constexpr double GIVE_UP_MS = 1000;

double now_ms() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// GTK answers a ping by sending it back to the root window.
bool is_answer(const XEvent& event, Atom protocols, Atom ping, long stamp) {
    return event.type == ClientMessage && event.xclient.message_type == protocols &&
           static_cast<Atom>(event.xclient.data.l[0]) == ping && event.xclient.data.l[1] == stamp;
}

// Waits for the answer; the time it took, or -1 when none came.
double await_answer(Display* display, Atom protocols, Atom ping, long stamp, double sent) {
    for (;;) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (is_answer(event, protocols, ping, stamp)) return now_ms() - sent;
        }
        const double left = GIVE_UP_MS - (now_ms() - sent);
        if (left <= 0) return -1;
        pollfd wait{ConnectionNumber(display), POLLIN, 0};
        poll(&wait, 1, static_cast<int>(left) + 1);
    }
}

}  // namespace

WindowPing::WindowPing(Window window) : window_(window) {}

WindowPing::~WindowPing() {
    if (thread_.joinable()) stop();
}

void WindowPing::start() {
    running_ = true;
    finished_ = false;
    thread_ = std::thread([this] { run(); });
}

double WindowPing::stop() {
    if (!thread_.joinable()) return longest_;
    running_ = false;
    // The ping under way is answered only while the main loop runs.
    while (!finished_) {
        g_main_context_iteration(nullptr, FALSE);
        g_usleep(1000);
    }
    thread_.join();
    return longest_;
}

void WindowPing::run() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        longest_ = -1;
        finished_ = true;
        return;
    }
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    const Atom protocols = XInternAtom(display, "WM_PROTOCOLS", False);
    const Atom ping = XInternAtom(display, "_NET_WM_PING", False);
    for (long stamp = 1; running_ && longest_ >= 0; ++stamp) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window_;
        event.xclient.message_type = protocols;
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(ping);
        event.xclient.data.l[1] = stamp;
        event.xclient.data.l[2] = static_cast<long>(window_);
        const double sent = now_ms();
        XSendEvent(display, window_, False, NoEventMask, &event);
        XFlush(display);
        const double waited = await_answer(display, protocols, ping, stamp, sent);
        longest_ = waited < 0 ? -1 : std::max(longest_.load(), waited);
        g_usleep(20000);
    }
    XCloseDisplay(display);
    finished_ = true;
}
