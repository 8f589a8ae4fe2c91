#include "tests/support/x_person.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <sys/wait.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <thread>

namespace {

void pause_ms(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

// How long the session's X server may take to hear of the seat's input.
constexpr int SEAT_DELAY_MS = 3000;

// Weston's output: the largest shown window of the display it draws into.
XPerson::Box output_window(Display* seat) {
    ::Window root = DefaultRootWindow(seat), parent = 0, *children = nullptr;
    unsigned count = 0;
    XPerson::Box largest{};
    if (!XQueryTree(seat, root, &root, &parent, &children, &count)) return largest;
    for (unsigned i = 0; i < count; ++i) {
        XWindowAttributes attributes{};
        if (!XGetWindowAttributes(seat, children[i], &attributes) || attributes.map_state != IsViewable) continue;
        if (attributes.width * attributes.height > largest.width * largest.height)
            largest = {attributes.x, attributes.y, attributes.width, attributes.height};
    }
    if (children) XFree(children);
    return largest;
}

}  // namespace

// The program's windows come and go while they are looked at: a window gone
// in between is no error of the test.
XPerson::XPerson() : display_(XOpenDisplay(nullptr)) {
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    if (const char* seat = std::getenv("SEAT_DISPLAY")) {
        seat_ = XOpenDisplay(seat);
        if (seat_) output_ = output_window(seat_);
    }
}

XPerson::~XPerson() {
    if (seat_) XCloseDisplay(seat_);
    if (display_) XCloseDisplay(display_);
}

unsigned long XPerson::wait_for(const std::string& title, int timeout_ms) {
    for (int waited = 0; waited < timeout_ms; waited += 50) {
        if (::Window found = find(title)) return found;
        pause_ms(50);
    }
    return 0;
}

unsigned long XPerson::find(const std::string& title) {
    for (unsigned long window : windows())
        if (title_of(window).rfind(title, 0) == 0) return window;
    return 0;
}

std::vector<std::string> XPerson::titles() {
    std::vector<std::string> shown;
    for (unsigned long window : windows()) {
        std::string title = title_of(window);
        if (!title.empty()) shown.push_back(title);
    }
    return shown;
}

// Under a window manager a program's window sits inside the manager's frame,
// a child of the root: the program's own is the one the manager marked with
// WM_STATE. Without a manager the root's children are the programs' windows.
unsigned long XPerson::client_in(unsigned long frame) {
    const Atom wm_state = XInternAtom(display_, "WM_STATE", False);
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(display_, frame, wm_state, 0, 0, False, AnyPropertyType, &type, &format, &items, &after,
                       &data);
    if (data) XFree(data);
    if (type != None) return frame;
    ::Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    unsigned long client = 0;
    if (!XQueryTree(display_, frame, &root, &parent, &children, &count)) return 0;
    for (unsigned i = 0; i < count && !client; ++i) client = client_in(children[i]);
    if (children) XFree(children);
    return client;
}

std::vector<unsigned long> XPerson::root_children(bool passing_manager) {
    ::Window root = DefaultRootWindow(display_), parent = 0, *children = nullptr;
    unsigned count = 0;
    std::vector<unsigned long> shown;
    if (!XQueryTree(display_, root, &root, &parent, &children, &count)) return shown;
    for (unsigned i = 0; i < count; ++i) {
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(display_, children[i], &attributes) && attributes.map_state == IsViewable &&
            static_cast<bool>(attributes.override_redirect) == passing_manager)
            shown.push_back(children[i]);
    }
    if (children) XFree(children);
    return shown;
}

std::vector<unsigned long> XPerson::windows() {
    std::vector<unsigned long> shown;
    // Tooltips, drag icons and pop-ups pass the window manager by; they are no windows a person deals with.
    for (unsigned long frame : root_children(false)) {
        const unsigned long client = client_in(frame);
        shown.push_back(client ? client : frame);
    }
    return shown;
}

std::vector<unsigned long> XPerson::popups() { return root_children(true); }

bool XPerson::tooltip_shown() {
    ::Window root = DefaultRootWindow(display_), parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display_, root, &root, &parent, &children, &count)) return false;
    const Atom window_type = XInternAtom(display_, "_NET_WM_WINDOW_TYPE", False);
    const Atom tooltip = XInternAtom(display_, "_NET_WM_WINDOW_TYPE_TOOLTIP", False);
    bool shown = false;
    for (unsigned i = 0; i < count && !shown; ++i) {
        XWindowAttributes attributes{};
        if (!XGetWindowAttributes(display_, children[i], &attributes) || attributes.map_state != IsViewable ||
            !attributes.override_redirect)
            continue;
        Atom type = 0;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display_, children[i], window_type, 0, 16, False, XA_ATOM, &type, &format, &items,
                               &after, &data) == Success &&
            data && format == 32)
            for (unsigned long k = 0; k < items; ++k)
                if (reinterpret_cast<const unsigned long*>(data)[k] == tooltip) shown = true;
        if (data) XFree(data);
    }
    if (children) XFree(children);
    return shown;
}

bool XPerson::wait_tooltip(bool shown, int timeout_ms) {
    for (int waited = 0; tooltip_shown() != shown; waited += 50) {
        if (waited >= timeout_ms) return false;
        pause_ms(50);
    }
    return true;
}

std::string XPerson::title_of(unsigned long window) {
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

bool XPerson::wait_for_title(unsigned long window, const std::string& title, int timeout_ms) {
    for (int waited = 0; waited < timeout_ms; waited += 50) {
        if (title_of(window) == title) return true;
        pause_ms(50);
    }
    return false;
}

XPerson::Box XPerson::box(unsigned long window) {
    XWindowAttributes attributes{};
    XGetWindowAttributes(display_, window, &attributes);
    int x = 0, y = 0;
    ::Window child = 0;
    XTranslateCoordinates(display_, window, DefaultRootWindow(display_), 0, 0, &x, &y, &child);
    return {x, y, attributes.width, attributes.height};
}

XPerson::Box XPerson::outer_box(unsigned long window) {
    Box outer = box(window);
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display_, window, XInternAtom(display_, "_NET_FRAME_EXTENTS", False), 0, 4, False,
                           XA_CARDINAL, &type, &format, &items, &after, &data) == Success &&
        data && format == 32 && items == 4) {
        const auto* extents = reinterpret_cast<const long*>(data);  // left, right, top, bottom
        outer = {outer.x - static_cast<int>(extents[0]), outer.y - static_cast<int>(extents[2]),
                 outer.width + static_cast<int>(extents[0] + extents[1]),
                 outer.height + static_cast<int>(extents[2] + extents[3])};
    }
    if (data) XFree(data);
    return outer;
}

std::vector<XPerson::Stretch> XPerson::ink(unsigned long window, Box area, bool down, int merge_gap) {
    std::vector<Stretch> found;
    XImage* image = XGetImage(display_, window, area.x, area.y, static_cast<unsigned>(area.width),
                              static_cast<unsigned>(area.height), AllPlanes, ZPixmap);
    if (!image) return found;
    const unsigned long background = XGetPixel(image, area.width - 1, area.height - 1) & 0xFFFFFF;
    const int along = down ? area.height : area.width;
    const int across = down ? area.width : area.height;
    for (int i = 0; i < along; ++i) {
        bool inked = false;
        for (int j = 0; j < across && !inked; ++j)
            inked = (XGetPixel(image, down ? j : i, down ? i : j) & 0xFFFFFF) != background;
        if (!inked) continue;
        const int at = (down ? area.y : area.x) + i;
        if (!found.empty() && at - found.back().to <= merge_gap + 1)
            found.back().to = at;
        else
            found.push_back({at, at});
    }
    XDestroyImage(image);
    return found;
}

unsigned long XPerson::pixel(unsigned long window, int x, int y) {
    XImage* image = XGetImage(display_, window, x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image) return ~0ul;
    const unsigned long value = XGetPixel(image, 0, 0) & 0xFFFFFF;
    XDestroyImage(image);
    return value;
}

std::vector<XPerson::Icon> XPerson::icons(unsigned long window) {
    std::vector<Icon> found;
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    // Format 32 comes as longs, whatever their size; the length is counted in
    // 32-bit units: room for a few pictures of up to 256 x 256.
    if (XGetWindowProperty(display_, window, XInternAtom(display_, "_NET_WM_ICON", False), 0, 1 << 20, False,
                           XA_CARDINAL, &type, &format, &items, &after, &data) == Success &&
        data && format == 32) {
        const auto* values = reinterpret_cast<const unsigned long*>(data);
        for (unsigned long at = 0; at + 2 <= items;) {
            const unsigned long width = values[at], height = values[at + 1];
            if (width == 0 || height == 0 || width * height > items - at - 2) break;
            Icon icon{static_cast<int>(width), static_cast<int>(height), {}};
            icon.argb.assign(values + at + 2, values + at + 2 + width * height);
            for (unsigned long& pixel : icon.argb) pixel &= 0xFFFFFFFFul;
            found.push_back(std::move(icon));
            at += 2 + width * height;
        }
    }
    if (data) XFree(data);
    return found;
}

std::vector<unsigned long> XPerson::pixels(unsigned long window, Box area) {
    std::vector<unsigned long> colours;
    XImage* image = XGetImage(display_, window, area.x, area.y, static_cast<unsigned>(area.width),
                              static_cast<unsigned>(area.height), AllPlanes, ZPixmap);
    if (!image) return colours;
    colours.reserve(static_cast<std::size_t>(area.width) * static_cast<std::size_t>(area.height));
    for (int y = 0; y < area.height; ++y)
        for (int x = 0; x < area.width; ++x) colours.push_back(XGetPixel(image, x, y) & 0xFFFFFF);
    XDestroyImage(image);
    return colours;
}

int XPerson::screen_width() { return DisplayWidth(display_, DefaultScreen(display_)); }
int XPerson::screen_height() { return DisplayHeight(display_, DefaultScreen(display_)); }

void XPerson::focus(unsigned long window) {
    XSetInputFocus(display_, window, RevertToParent, CurrentTime);
    XSync(display_, False);
    pause_ms(200);
}

void XPerson::key(unsigned long keysym) {
    const KeyCode code = XKeysymToKeycode(display_, keysym);
    XTestFakeKeyEvent(display_, code, True, CurrentTime);
    XTestFakeKeyEvent(display_, code, False, CurrentTime);
    XSync(display_, False);
}

void XPerson::key_with(unsigned long modifier, unsigned long keysym) {
    const KeyCode held = XKeysymToKeycode(display_, modifier);
    XTestFakeKeyEvent(display_, held, True, CurrentTime);
    key(keysym);
    XTestFakeKeyEvent(display_, held, False, CurrentTime);
    XSync(display_, False);
}

void XPerson::key_with_control(unsigned long keysym) { key_with(XK_Control_L, keysym); }
void XPerson::key_with_alt(unsigned long keysym) { key_with(XK_Alt_L, keysym); }

std::string XPerson::copied_text(unsigned long window, int timeout_ms) {
    // This client takes the clipboard first, so that the copy is seen when
    // the program takes it over.
    const Window requestor = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 1, 1, 0, 0, 0);
    const Atom clipboard = XInternAtom(display_, "CLIPBOARD", False);
    XSetSelectionOwner(display_, clipboard, requestor, CurrentTime);
    focus(window);
    key_with_control(XK_c);
    int waited = 0;
    for (; XGetSelectionOwner(display_, clipboard) == requestor && waited < timeout_ms; waited += 20) pause_ms(20);
    // The clipboard's owner is asked for its text as UTF-8, delivered into a
    // property of the same window.
    const Atom utf8 = XInternAtom(display_, "UTF8_STRING", False);
    const Atom into = XInternAtom(display_, "TUNELATHE_COPIED", False);
    XConvertSelection(display_, clipboard, utf8, into, requestor, CurrentTime);
    XFlush(display_);
    std::string text;
    XEvent event;
    for (; waited < timeout_ms; waited += 20) {
        if (!XCheckTypedWindowEvent(display_, requestor, SelectionNotify, &event)) {
            pause_ms(20);
            continue;
        }
        if (event.xselection.property == None) break;  // nothing to copy
        Atom type = 0;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display_, requestor, into, 0, 1 << 20, True, AnyPropertyType, &type, &format, &items,
                               &after, &data) == Success &&
            data && format == 8)
            text.assign(reinterpret_cast<const char*>(data), items);
        if (data) XFree(data);
        break;
    }
    XDestroyWindow(display_, requestor);
    return text;
}

void XPerson::type(const char* text) {
    const KeyCode shift = XKeysymToKeycode(display_, XK_Shift_L);
    for (const char* c = text; *c; ++c) {
        const auto keysym = static_cast<KeySym>(static_cast<unsigned char>(*c));  // Latin-1 keysyms are the codes
        const KeyCode code = XKeysymToKeycode(display_, keysym);
        const bool shifted = XkbKeycodeToKeysym(display_, code, 0, 0) != keysym;
        if (shifted) XTestFakeKeyEvent(display_, shift, True, CurrentTime);
        XTestFakeKeyEvent(display_, code, True, CurrentTime);
        XTestFakeKeyEvent(display_, code, False, CurrentTime);
        if (shifted) XTestFakeKeyEvent(display_, shift, False, CurrentTime);
        XSync(display_, False);
        // An entry that completes names as they are typed keeps up with a person, not a burst.
        pause_ms(10);
    }
}

void XPerson::press_return(unsigned long window) {
    focus(window);
    key(XK_Return);
}

// Weston's X11 back end moves its pointer by the difference between two
// motions in its window, and puts it at the place only where the pointer
// enters the window; so its pointer and the X server's part ways wherever
// one was stopped at an edge. Each move therefore goes out of the window
// (through the band with-wayland leaves around it), in one pixel beside the
// place, and onto it: the last step is a motion the session's clients get.
void XPerson::seat_pointer_to(int x, int y) {
    const int beside = x > 0 ? x - 1 : x + 1;
    XTestFakeMotionEvent(seat_, -1, DisplayWidth(seat_, DefaultScreen(seat_)) - 1,
                         DisplayHeight(seat_, DefaultScreen(seat_)) - 1, CurrentTime);
    XTestFakeMotionEvent(seat_, -1, output_.x + beside, output_.y + y, CurrentTime);
    XTestFakeMotionEvent(seat_, -1, output_.x + x, output_.y + y, CurrentTime);
    XSync(seat_, False);
}

// The session's X server places its windows where its clients and window
// manager say, weston shows them where its shell puts them: a place on the
// X screen is not always the same place on weston's output. Where the
// pointer lands on a window, the X server says where that is on its screen;
// the difference is made good and kept for the next moves.
bool XPerson::pointer_to(int x, int y) {
    if (!seat_) {
        XTestFakeMotionEvent(display_, -1, x, y, CurrentTime);
        XSync(display_, False);
        return true;
    }
    for (int attempt = 0; attempt < 4; ++attempt) {
        const Place before = pointer_place();
        seat_pointer_to(x + shift_.x, y + shift_.y);
        if (pointer_seen_at(x, y, attempt ? SEAT_DELAY_MS : 300)) return true;
        const Place landed = pointer_place();
        if (landed.x == before.x && landed.y == before.y) continue;  // on no window of the X server, or late
        shift_ = {shift_.x + x - landed.x, shift_.y + y - landed.y, 0};
    }
    return false;
}

XPerson::Place XPerson::pointer_place() {
    ::Window root = 0, child = 0;
    Place place{-1, -1, 0};
    int window_x = 0, window_y = 0;
    XQueryPointer(display_, DefaultRootWindow(display_), &root, &child, &place.x, &place.y, &window_x, &window_y,
                  &place.buttons);
    return place;
}

void XPerson::button(bool down) {
    Display* to = seat_ ? seat_ : display_;
    XTestFakeButtonEvent(to, 1, down, CurrentTime);
    XSync(to, False);
}

bool XPerson::pointer_seen_at(int x, int y, int timeout_ms) {
    for (int waited = 0;; waited += 20) {
        const Place place = pointer_place();
        if (place.x == x && place.y == y) return true;
        if (waited >= timeout_ms) return false;
        pause_ms(20);
    }
}

bool XPerson::button_seen(bool down, int timeout_ms) {
    for (int waited = 0;; waited += 20) {
        if (((pointer_place().buttons & Button1Mask) != 0) == down) return true;
        if (waited >= timeout_ms) return false;
        pause_ms(20);
    }
}

bool XPerson::move_to(int x, int y) { return pointer_to(x, y); }

bool XPerson::click(int x, int y) {
    if (!pointer_to(x, y)) return false;
    pause_ms(50);
    button(true);
    const bool pressed = !seat_ || button_seen(true, SEAT_DELAY_MS);
    button(false);
    return pressed && (!seat_ || button_seen(false, SEAT_DELAY_MS));
}

void XPerson::drag(int from_x, int from_y, int to_x, int to_y) {
    move_to(from_x, from_y);
    pause_ms(100);
    button(true);
    pause_ms(100);
    // The source starts a drag only once the pointer has moved a little, and
    // the target follows the pointer's way. Held, the pointer moves by
    // motions alone: the steps are small and stay inside the screen.
    Display* to = seat_ ? seat_ : display_;
    const int offset_x = seat_ ? output_.x + shift_.x : 0, offset_y = seat_ ? output_.y + shift_.y : 0;
    constexpr int steps = 12;
    for (int step = 1; step <= steps; ++step) {
        XTestFakeMotionEvent(to, -1, offset_x + from_x + (to_x - from_x) * step / steps,
                             offset_y + from_y + (to_y - from_y) * step / steps, CurrentTime);
        XSync(to, False);
        pause_ms(50);
    }
    pause_ms(200);
    button(false);
}

void XPerson::close_request(unsigned long window) {
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

void XPerson::resize(unsigned long window, int width, int height) {
    XResizeWindow(display_, window, static_cast<unsigned>(width), static_cast<unsigned>(height));
    XSync(display_, False);
}

int exit_code_of(pid_t program, int timeout_ms) {
    for (int waited = 0; waited < timeout_ms; waited += 50) {
        int status = 0;
        if (waitpid(program, &status, WNOHANG) == program) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        pause_ms(50);
    }
    kill(program, SIGKILL);
    waitpid(program, nullptr, 0);
    return -1;
}
