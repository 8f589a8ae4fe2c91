#include "tests/support/gtk_desktop.h"

// Before X11's headers, whose macros (None) clash with its names.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/XKBlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <X11/extensions/XTest.h>
#include <gdk/gdkx.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>
#include <cstdlib>

namespace {

::Window xid_of(GtkWidget* window) { return gdk_x11_window_get_xid(gtk_widget_get_window(window)); }

gboolean on_tick(gpointer) { return G_SOURCE_CONTINUE; }

gboolean on_drawn(GtkWidget*, cairo_t*, gpointer drawn) {
    *static_cast<bool*>(drawn) = true;
    return FALSE;
}

}  // namespace

bool run_until(const std::function<bool()>& done, int timeout_ms) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    const guint tick = g_timeout_add(10, on_tick, nullptr);
    bool result = done();
    while (!result && std::chrono::steady_clock::now() < deadline) {
        g_main_context_iteration(nullptr, TRUE);
        result = done();
    }
    g_source_remove(tick);
    return result;
}

void run_for(int milliseconds) {
    run_until([] { return false; }, milliseconds);
}

bool wait_drawn(GtkWidget* window) {
    bool drawn = false;
    const gulong handler = g_signal_connect_after(window, "draw", G_CALLBACK(on_drawn), &drawn);
    gtk_widget_queue_draw(window);
    const bool ok = run_until([&] { return drawn && gtk_widget_get_mapped(window); });
    g_signal_handler_disconnect(window, handler);
    gdk_display_sync(gdk_display_get_default());
    return ok;
}

std::string shown_tooltip() {
    std::string shown;
    GList* toplevels = gtk_window_list_toplevels();
    for (GList* item = toplevels; item; item = item->next) {
        auto* window = GTK_WIDGET(item->data);
        if (!gtk_widget_get_mapped(window) || gtk_window_get_window_type(GTK_WINDOW(window)) != GTK_WINDOW_POPUP)
            continue;
        std::vector<GtkWidget*> pending{window};
        while (!pending.empty()) {
            GtkWidget* widget = pending.back();
            pending.pop_back();
            if (GTK_IS_LABEL(widget) && gtk_widget_get_mapped(widget)) shown = gtk_label_get_text(GTK_LABEL(widget));
            if (GTK_IS_CONTAINER(widget)) {
                GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
                for (GList* child = children; child; child = child->next) pending.push_back(GTK_WIDGET(child->data));
                g_list_free(children);
            }
        }
    }
    g_list_free(toplevels);
    return shown;
}

ScreenBox screen_box(GtkWidget* widget) {
    GtkWidget* toplevel = gtk_widget_get_toplevel(widget);
    int x = 0, y = 0, origin_x = 0, origin_y = 0;
    gtk_widget_translate_coordinates(widget, toplevel, 0, 0, &x, &y);
    gdk_window_get_origin(gtk_widget_get_window(toplevel), &origin_x, &origin_y);
    GtkAllocation allocation;
    gtk_widget_get_allocation(widget, &allocation);
    return {origin_x + x, origin_y + y, allocation.width, allocation.height};
}

Desktop::Desktop() : display_(XOpenDisplay(nullptr)) {
    if (!display_) std::abort();
}

Desktop::~Desktop() { XCloseDisplay(display_); }

Desktop& person_desktop() {
    static Desktop person;
    return person;
}

ScreenBox Desktop::box(GtkWidget* window) {
    ::Window root, child;
    int x = 0, y = 0;
    unsigned width = 0, height = 0, border = 0, depth = 0;
    XGetGeometry(display_, xid_of(window), &root, &x, &y, &width, &height, &border, &depth);
    XTranslateCoordinates(display_, xid_of(window), root, 0, 0, &x, &y, &child);
    return {x, y, static_cast<int>(width), static_cast<int>(height)};
}

bool Desktop::mapped(GtkWidget* window) {
    if (!gtk_widget_get_window(window)) return false;
    XWindowAttributes attributes{};
    XGetWindowAttributes(display_, xid_of(window), &attributes);
    return attributes.map_state == IsViewable;
}

void Desktop::fit_limits(GtkWidget* window, int& width, int& height) {
    int min_width, min_height, max_width, max_height;
    size_hints(window, &min_width, &min_height, &max_width, &max_height);
    width = std::max(width, min_width);
    height = std::max(height, min_height);
    if (max_width > 0) width = std::min(width, max_width);
    if (max_height > 0) height = std::min(height, max_height);
}

void Desktop::resize(GtkWidget* window, int width, int height) {
    fit_limits(window, width, height);
    XResizeWindow(display_, xid_of(window), static_cast<unsigned>(width), static_cast<unsigned>(height));
    XSync(display_, False);
}

void Desktop::move(GtkWidget* window, int x, int y) {
    XMoveWindow(display_, xid_of(window), x, y);
    XSync(display_, False);
}

namespace {

// The window's WM_STATE, as the window manager keeps it: 1 normal, 3 iconic.
void wm_state(Display* display, ::Window window, long state) {
    const Atom atom = XInternAtom(display, "WM_STATE", False);
    const long value[2] = {state, 0};
    XChangeProperty(display, window, atom, atom, 32, PropModeReplace, reinterpret_cast<const unsigned char*>(value),
                    2);
}

}  // namespace

void Desktop::minimize(GtkWidget* window) {
    wm_state(display_, xid_of(window), 3);
    XUnmapWindow(display_, xid_of(window));
    XSync(display_, False);
}

void Desktop::net_state(GtkWidget* window, bool maximized) {
    const Atom states[2] = {XInternAtom(display_, "_NET_WM_STATE_MAXIMIZED_VERT", False),
                            XInternAtom(display_, "_NET_WM_STATE_MAXIMIZED_HORZ", False)};
    XChangeProperty(display_, xid_of(window), XInternAtom(display_, "_NET_WM_STATE", False), XA_ATOM, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(states), maximized ? 2 : 0);
}

void Desktop::maximize(GtkWidget* window) {
    before_maximized_ = box(window);
    net_state(window, true);
    const Screen* screen = DefaultScreenOfDisplay(display_);
    int width = WidthOfScreen(screen), height = HeightOfScreen(screen);
    fit_limits(window, width, height);
    XMoveResizeWindow(display_, xid_of(window), 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height));
    XSync(display_, False);
}

void Desktop::restore(GtkWidget* window) {
    if (!mapped(window)) {
        wm_state(display_, xid_of(window), 1);
        XMapWindow(display_, xid_of(window));
    } else {
        net_state(window, false);
        const ScreenBox& was = before_maximized_;
        XMoveResizeWindow(display_, xid_of(window), was.x, was.y, static_cast<unsigned>(was.width),
                          static_cast<unsigned>(was.height));
    }
    XSync(display_, False);
}

void Desktop::close_request(GtkWidget* window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = xid_of(window);
    event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, xid_of(window), False, NoEventMask, &event);
    XSync(display_, False);
}

void Desktop::size_hints(GtkWidget* window, int* min_width, int* min_height, int* max_width, int* max_height) {
    XSizeHints hints{};
    long supplied = 0;
    XGetWMNormalHints(display_, xid_of(window), &hints, &supplied);
    const bool has_min = hints.flags & PMinSize, has_max = hints.flags & PMaxSize;
    *min_width = has_min ? hints.min_width : 0;
    *min_height = has_min ? hints.min_height : 0;
    *max_width = has_max ? hints.max_width : 0;
    *max_height = has_max ? hints.max_height : 0;
}

void Desktop::pointer_to(int x, int y) {
    XTestFakeMotionEvent(display_, -1, x, y, CurrentTime);
    XSync(display_, False);
}

unsigned long Desktop::pixel(GtkWidget* window, int x, int y) {
    XImage* image = XGetImage(display_, xid_of(window), x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image) return ~0ul;
    const unsigned long value = XGetPixel(image, 0, 0) & 0xFFFFFF;
    XDestroyImage(image);
    return value;
}

void Desktop::press(int button) {
    XTestFakeButtonEvent(display_, static_cast<unsigned>(button), True, CurrentTime);
    XSync(display_, False);
}

void Desktop::release(int button) {
    XTestFakeButtonEvent(display_, static_cast<unsigned>(button), False, CurrentTime);
    XSync(display_, False);
}

void Desktop::click(int x, int y, int count) {
    XTestFakeMotionEvent(display_, -1, x, y, CurrentTime);
    for (int i = 0; i < count; ++i) {
        XTestFakeButtonEvent(display_, 1, True, CurrentTime);
        XTestFakeButtonEvent(display_, 1, False, CurrentTime);
    }
    XSync(display_, False);
}

void Desktop::key_down(unsigned long keysym) {
    XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, keysym), True, CurrentTime);
    XSync(display_, False);
}

void Desktop::key_up(unsigned long keysym) {
    XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, keysym), False, CurrentTime);
    XSync(display_, False);
}

void Desktop::key(unsigned long keysym) {
    key_down(keysym);
    key_up(keysym);
}

void Desktop::focus(GtkWidget* window) {
    XSetInputFocus(display_, xid_of(window), RevertToParent, CurrentTime);
    XSync(display_, False);
}

void Desktop::type(const char* text) {
    for (const char* c = text; *c; ++c) {
        const auto keysym = static_cast<KeySym>(static_cast<unsigned char>(*c));  // Latin-1 keysyms are the codes
        const KeyCode code = XKeysymToKeycode(display_, keysym);
        const bool shifted = XkbKeycodeToKeysym(display_, code, 0, 0) != keysym;
        const KeyCode shift = XKeysymToKeycode(display_, XK_Shift_L);
        if (shifted) XTestFakeKeyEvent(display_, shift, True, CurrentTime);
        XTestFakeKeyEvent(display_, code, True, CurrentTime);
        XTestFakeKeyEvent(display_, code, False, CurrentTime);
        if (shifted) XTestFakeKeyEvent(display_, shift, False, CurrentTime);
    }
    XSync(display_, False);
}

DialogAnswer::DialogAnswer(std::function<void(GtkWidget*)> act)
    : act_(std::move(act)), source_(g_timeout_add(30, tick, this)) {}

DialogAnswer::~DialogAnswer() {
    if (!answered_) g_source_remove(source_);
}

// A dialog is answered one tick after it was first seen mapped, so that it
// has been drawn and laid out as a person would see it.
gboolean DialogAnswer::tick(gpointer data) {
    auto* self = static_cast<DialogAnswer*>(data);
    GtkWidget* dialog = nullptr;
    GList* toplevels = gtk_window_list_toplevels();
    for (GList* item = toplevels; item && !dialog; item = item->next)
        if (GTK_IS_DIALOG(item->data) && gtk_widget_get_mapped(GTK_WIDGET(item->data))) dialog = GTK_WIDGET(item->data);
    g_list_free(toplevels);
    if (!dialog || dialog != self->seen_) {
        self->seen_ = dialog;
        return G_SOURCE_CONTINUE;
    }
    self->answered_ = true;
    self->act_(dialog);
    // A failed answer must not leave the program waiting for ever.
    if (::testing::Test::HasFatalFailure()) gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_CANCEL);
    return G_SOURCE_REMOVE;
}

namespace {

// The first shown widget inside the dialog, in breadth-first order, that fits.
GtkWidget* find_in(GtkWidget* dialog, const std::function<bool(GtkWidget*)>& fits) {
    std::vector<GtkWidget*> pending{dialog};
    for (std::size_t next = 0; next < pending.size(); ++next) {
        GtkWidget* widget = pending[next];
        if (gtk_widget_get_mapped(widget) && fits(widget)) return widget;
        // Internal children too: a dialog's parts are mostly its own.
        if (GTK_IS_CONTAINER(widget))
            gtk_container_forall(GTK_CONTAINER(widget), [](GtkWidget* child, gpointer list) {
                static_cast<std::vector<GtkWidget*>*>(list)->push_back(child);
            }, &pending);
    }
    return nullptr;
}

}  // namespace

GtkWidget* dialog_part(GtkWidget* dialog, GType type) {
    return find_in(dialog, [type](GtkWidget* widget) { return G_TYPE_CHECK_INSTANCE_TYPE(widget, type); });
}

GtkWidget* dialog_button(GtkWidget* dialog, const char* label) {
    return find_in(dialog, [label](GtkWidget* widget) {
        return GTK_IS_BUTTON(widget) && gtk_button_get_label(GTK_BUTTON(widget)) &&
               std::string(gtk_button_get_label(GTK_BUTTON(widget))) == label;
    });
}
