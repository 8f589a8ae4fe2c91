// What GTK tests share: running the main loop until something has happened,
// and a desktop: a second X client that does what a person and a window
// manager would do to the program's windows (resize, ask to close, move the
// pointer) and looks at what the X server shows.
#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <string>

// Runs the GLib main loop until done() holds or timeout_ms passed; done() is
// checked whenever the loop woke, at least every 10 ms. Result: done().
bool run_until(const std::function<bool()>& done, int timeout_ms = 5000);
// Runs the main loop for about this long.
void run_for(int milliseconds);

// Waits until the window is mapped and drawn at least once.
bool wait_drawn(GtkWidget* window);

// The label of a tool tip the screen shows now, or "" when none is shown.
std::string shown_tooltip();

struct ScreenBox {
    int x;
    int y;
    int width;
    int height;
};

// Where a widget is on the screen and how large GTK made it.
ScreenBox screen_box(GtkWidget* widget);

class Desktop {
public:
    Desktop();  // opens its own connection to the test's display
    ~Desktop();
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;

    // The window's X window as the server has it: position on the screen, size.
    ScreenBox box(GtkWidget* window);
    bool mapped(GtkWidget* window);
    // What a window manager does when a person drags a border (within the
    // window's size limits), moves the window or presses its close button.
    void resize(GtkWidget* window, int width, int height);
    void move(GtkWidget* window, int x, int y);
    void close_request(GtkWidget* window);
    // What a window manager does for the title bar's buttons: minimizing
    // unmaps the window, maximizing marks it so and fills the screen (or its
    // largest size),
    // restoring maps it again or gives it back the size it had.
    void minimize(GtkWidget* window);
    void maximize(GtkWidget* window);
    void restore(GtkWidget* window);
    // The size limits the program gave the window manager; 0 where none.
    void size_hints(GtkWidget* window, int* min_width, int* min_height, int* max_width, int* max_height);
    void pointer_to(int x, int y);  // on the screen
    // Real input through the X server, as from the mouse and keyboard.
    void press(int button = 1);
    void release(int button = 1);
    void click(int x, int y, int count = 1);  // on the screen, left button
    void key(unsigned long keysym);             // press and release
    void key_down(unsigned long keysym);
    void key_up(unsigned long keysym);
    void type(const char* text);  // ASCII, each character as its key (with Shift where needed)
    // Gives the window the keyboard focus, as a window manager does on a click.
    void focus(GtkWidget* window);
    // The colour the screen shows inside the window, 0x00RRGGBB.
    unsigned long pixel(GtkWidget* window, int x, int y);

private:
    void net_state(GtkWidget* window, bool maximized);
    void fit_limits(GtkWidget* window, int& width, int& height);
    struct _XDisplay* display_;
    ScreenBox before_maximized_{};
};

// The person's one desktop for the whole test program, made at first use.
Desktop& person_desktop();

// Answers the next dialog of the program from inside the loop the dialog
// runs: once a dialog is shown and drawn, act(dialog) runs once and does what
// a person would (through a Desktop: click a button, type, press a key).
class DialogAnswer {
public:
    explicit DialogAnswer(std::function<void(GtkWidget* dialog)> act);
    ~DialogAnswer();
    DialogAnswer(const DialogAnswer&) = delete;
    DialogAnswer& operator=(const DialogAnswer&) = delete;
    bool answered() const { return answered_; }

private:
    static gboolean tick(gpointer self);
    std::function<void(GtkWidget*)> act_;
    GtkWidget* seen_ = nullptr;
    bool answered_ = false;
    guint source_ = 0;
};

// The first widget of that type the dialog shows, or nullptr.
GtkWidget* dialog_part(GtkWidget* dialog, GType type);
// The button of a dialog with this label (mnemonic underscores included), or nullptr.
GtkWidget* dialog_button(GtkWidget* dialog, const char* label);
