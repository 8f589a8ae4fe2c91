// The native program as a person meets it: started as a process of its own
// without a sound server, it shows the no-sound box, then the testing notice,
// then the main window centred on the screen; asked to close it, it ends with
// exit code 0. A second X client finds the windows, presses Return and asks
// to close, as a person and a window manager would.
#include <gtest/gtest.h>

// After googletest: X11's macros clash with its names.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

class Screen {
public:
    // The program's windows come and go while they are looked at: a window
    // gone in between is no error of the test.
    Screen() : display_(XOpenDisplay(nullptr)) {
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    }
    ~Screen() {
        if (display_) XCloseDisplay(display_);
    }
    bool open() const { return display_ != nullptr; }

    // A shown top-level window whose title starts with the text; 0 after ten seconds.
    ::Window wait_for(const std::string& title) {
        for (int waited = 0; waited < 10000; waited += 50) {
            if (::Window found = find(title)) return found;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return 0;
    }
    ::Window find(const std::string& title) {
        ::Window root = DefaultRootWindow(display_), parent = 0, *children = nullptr;
        unsigned count = 0;
        ::Window found = 0;
        if (!XQueryTree(display_, root, &root, &parent, &children, &count)) return 0;
        for (unsigned i = 0; i < count && !found; ++i)
            if (viewable(children[i]) && title_of(children[i]).rfind(title, 0) == 0) found = children[i];
        if (children) XFree(children);
        return found;
    }
    std::string title_of(::Window window) {
        Atom type = 0;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* data = nullptr;
        std::string title;
        if (XGetWindowProperty(display_, window, XInternAtom(display_, "_NET_WM_NAME", False), 0, 1024, False,
                               XInternAtom(display_, "UTF8_STRING", False), &type, &format, &items, &after,
                               &data) == Success &&
            data)
            title.assign(reinterpret_cast<char*>(data), items);
        if (data) XFree(data);
        return title;
    }
    bool viewable(::Window window) {
        XWindowAttributes attributes{};
        return XGetWindowAttributes(display_, window, &attributes) && attributes.map_state == IsViewable;
    }
    XWindowAttributes attributes(::Window window) {
        XWindowAttributes attributes{};
        XGetWindowAttributes(display_, window, &attributes);
        return attributes;
    }
    void press_return(::Window window) {
        XSetInputFocus(display_, window, RevertToParent, CurrentTime);
        XSync(display_, False);
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        const KeyCode key = XKeysymToKeycode(display_, XK_Return);
        XTestFakeKeyEvent(display_, key, True, CurrentTime);
        XTestFakeKeyEvent(display_, key, False, CurrentTime);
        XSync(display_, False);
    }
    void close_request(::Window window) {
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

private:
    Display* display_;
};

// The program's exit code once it ended; -1 after ten seconds (it is then killed).
int exit_code_of(pid_t program) {
    for (int waited = 0; waited < 10000; waited += 50) {
        int status = 0;
        if (waitpid(program, &status, WNOHANG) == program) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    kill(program, SIGKILL);
    waitpid(program, nullptr, 0);
    return -1;
}

TEST(StartUp, NoSoundBoxNoticeMainWindowAndCloseWithExitCodeZero) {
    Screen screen;
    ASSERT_TRUE(screen.open());
    const pid_t program = fork();
    ASSERT_GE(program, 0);
    if (program == 0) {
        setenv("PULSE_SERVER", "unix:/nonexistent", 1);  // no sound server
        // The sanitizers' leak report on GTK's memory at exit would change the exit code.
        setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
        execl(TUNELATHE_PROGRAM, TUNELATHE_PROGRAM, static_cast<char*>(nullptr));
        _exit(127);
    }
    const ::Window no_sound = screen.wait_for("No sound available!");
    EXPECT_NE(no_sound, 0u);
    if (no_sound) screen.press_return(no_sound);

    const ::Window notice = screen.wait_for("Information on TESTING version");
    EXPECT_NE(notice, 0u);
    EXPECT_EQ(screen.find(".: Tunelathe :."), 0u) << "the notice comes before the main window";
    if (notice) screen.press_return(notice);

    const ::Window main = screen.wait_for(".: Tunelathe :.V 0.5.206");
    ASSERT_NE(main, 0u);
    const XWindowAttributes shown = screen.attributes(main);
    EXPECT_EQ(shown.width, 830);
    EXPECT_EQ(shown.height, 620);
    EXPECT_EQ(shown.x, (WidthOfScreen(shown.screen) - 830) / 2);
    EXPECT_EQ(shown.y, (HeightOfScreen(shown.screen) - 620) / 2);

    screen.close_request(main);
    EXPECT_EQ(exit_code_of(program), 0);
}

}  // namespace
