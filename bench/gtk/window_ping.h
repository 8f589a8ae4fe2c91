// Asks a window again and again whether it answers, as a window manager
// does (_NET_WM_PING), from a thread and X connection of its own, and keeps
// the longest wait for an answer: how long the window's program left its
// events unread.
#pragma once

#include <X11/Xlib.h>

#include <atomic>
#include <thread>

class WindowPing {
public:
    explicit WindowPing(Window window);
    ~WindowPing();
    WindowPing(const WindowPing&) = delete;
    WindowPing& operator=(const WindowPing&) = delete;

    // Pings every 20 ms until stop(); each wait counts.
    void start();
    // Stops after the ping under way is answered; runs the GLib main loop
    // meanwhile, as the program's would. The longest wait so far, in ms
    // (-1 when an answer never came within a second).
    double stop();

private:
    void run();

    Window window_;
    std::atomic<bool> running_{false};
    std::atomic<bool> finished_{false};
    std::atomic<double> longest_{0};
    std::thread thread_;
};
