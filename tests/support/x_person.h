// A second X client that meets another program's windows as a person and a
// window manager would: finds them by title, clicks, types and presses keys
// through XTest, and asks a window to close. Also waits for a program
// started as a process of its own to end.
//
// In a Wayland session (cmake/with-wayland, which names the X server weston
// draws into as SEAT_DISPLAY) the pointer is the compositor's: it is moved
// and pressed there, so that weston's seat hands the input on to the session's
// X server as it hands on a person's. Keys go to the session's X server.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

class XPerson {
public:
    XPerson();  // opens its own connection to the test's display
    ~XPerson();
    XPerson(const XPerson&) = delete;
    XPerson& operator=(const XPerson&) = delete;
    bool open() const { return display_ != nullptr; }

    // A shown top-level window whose title starts with the text; 0 when none
    // came within timeout_ms.
    unsigned long wait_for(const std::string& title, int timeout_ms = 10000);
    unsigned long find(const std::string& title);
    // The titles of all shown top-level windows (as windows() lists them).
    std::vector<std::string> titles();
    // All shown top-level windows, titled or not, inside the window
    // manager's frames when there is one; windows that no window manager
    // handles (tooltips, drag icons, pop-ups) are none.
    std::vector<unsigned long> windows();
    // The shown windows that pass the window manager by: pop-ups, tooltips,
    // drag icons.
    std::vector<unsigned long> popups();
    std::string title_of(unsigned long window);
    // Whether a tooltip is up; waits until one is (shown) or none is, false
    // when that did not come within timeout_ms.
    bool tooltip_shown();
    bool wait_tooltip(bool shown, int timeout_ms);
    // Waits until the window's title is the text; false after timeout_ms.
    bool wait_for_title(unsigned long window, const std::string& title, int timeout_ms = 10000);

    struct Box {
        int x;  // on the screen
        int y;
        int width;
        int height;
    };
    Box box(unsigned long window);
    // The box with the frame a window manager put round it (_NET_FRAME_EXTENTS);
    // the window's own box without one.
    Box outer_box(unsigned long window);
    int screen_width();
    int screen_height();

    // What a person's eye picks out in part of a window: the stretches along
    // one direction where anything differs from the colour at the area's
    // far corner (its background), looking across the whole area; stretches
    // apart by no more than merge_gap pixels count as one. Left to right
    // (across_rows false) or top to bottom; in window coordinates.
    struct Stretch {
        int from;
        int to;  // inclusive
        int middle() const { return (from + to) / 2; }
        int length() const { return to - from + 1; }
    };
    std::vector<Stretch> ink(unsigned long window, Box area, bool down, int merge_gap);

    // The colour the screen shows in the window, 0x00RRGGBB.
    unsigned long pixel(unsigned long window, int x, int y);
    // The colours of part of the window, row after row; empty when it cannot be read.
    std::vector<unsigned long> pixels(unsigned long window, Box area);

    // The pictures a window offers the window manager and task bar as its
    // icon (its _NET_WM_ICON property), in the order given: each one's size
    // and its pixels, 0xAARRGGBB, top row first.
    struct Icon {
        int width;
        int height;
        std::vector<unsigned long> argb;
    };
    std::vector<Icon> icons(unsigned long window);

    // Gives the window the keyboard focus, as a window manager does on a click.
    void focus(unsigned long window);
    void key(unsigned long keysym);  // press and release
    void key_with_control(unsigned long keysym);
    void key_with_alt(unsigned long keysym);  // a button's underlined letter
    // What the window's Ctrl+C puts on the clipboard, as UTF-8; empty when
    // nothing came within timeout_ms.
    std::string copied_text(unsigned long window, int timeout_ms = 5000);
    void type(const char* text);     // ASCII, each character as its key (with Shift where needed)
    void press_return(unsigned long window);  // focus, then Return
    // The pointer, on the screen. In a Wayland session it waits until the
    // session's X server has it there (over no X window it never does): false
    // when that did not come.
    bool move_to(int x, int y);
    // On the screen, left button; false when the pointer did not get there or
    // the press and release did not arrive (Wayland session only: on X they
    // cannot go astray).
    bool click(int x, int y);
    // Whether the pointer moves through a compositor's seat (SEAT_DISPLAY).
    bool through_seat() const { return seat_ != nullptr; }
    // The left button pressed at one place, the pointer moved to the other in
    // steps, as a hand goes, and released there.
    void drag(int from_x, int from_y, int to_x, int to_y);
    void close_request(unsigned long window);
    // What a window manager does when a person drags the window's border.
    void resize(unsigned long window, int width, int height);

private:
    void key_with(unsigned long modifier, unsigned long keysym);
    // The window a window manager's frame holds (itself when it is one), or 0.
    unsigned long client_in(unsigned long frame);
    // The root's shown children that pass the window manager by, or those that do not.
    std::vector<unsigned long> root_children(bool passing_manager);
    // The pointer's motion and buttons, sent where they reach the windows.
    bool pointer_to(int x, int y);
    void seat_pointer_to(int x, int y);
    void button(bool down);
    struct Place {
        int x;
        int y;
        unsigned buttons;  // the buttons held down, as X's state mask
    };
    Place pointer_place();  // on the screen of the session's X server
    // Waits until the session's X server has the pointer at the place, or
    // its left button down or up as said.
    bool pointer_seen_at(int x, int y, int timeout_ms);
    bool button_seen(bool down, int timeout_ms);
    struct _XDisplay* display_;
    struct _XDisplay* seat_ = nullptr;
    Box output_{};  // weston's output window in the seat's display
    Place shift_{};  // from a place on the X screen to the same on weston's output
};

// The program's exit code once it ended; -1 after timeout_ms (it is then
// killed) or when a signal ended it.
int exit_code_of(pid_t program, int timeout_ms = 10000);
