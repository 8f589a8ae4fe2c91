// What a person does to the runtime's windows and gadgets, through the
// platform's own input (pointer clicks, the window manager's buttons), for
// the behaviour tests that every back end runs and for the application's
// tests; person_win32.cpp and person_gtk.cpp implement it. The test reads the
// events afterwards as the program would.
#pragma once

#include <cstdint>
#include <string>

#include "runtime/core/object_table.h"

// Lets the platform deliver what was done (input, redraws, state changes)
// for a moment, without reading any event.
void settle();

// The keyboard focus in the gadget, as a person's Tab key puts it there.
void focus_gadget(ObjectNumber gadget);
// Left clicks (count of them, quickly, as a double click) on a list row.
void click_row(ObjectNumber list, int row, int count = 1);
// The pointer moved onto a list row (half-way down it, 20 pixels in) and
// left resting there, as long as a tool tip takes to show and more. Result:
// the text (UTF-8) of the tool tip the screen then shows, "" when none.
std::string rest_pointer_on_row(ObjectNumber list, int row);
// The same at a point of a gadget, relative to its top-left corner.
std::string rest_pointer_on_gadget(ObjectNumber gadget, int x, int y);
// A place on the screen, in its window's inner coordinates.
struct ShownBox {
    int x;
    int y;
    int width;
    int height;
};
// Where a list row is shown.
ShownBox shown_row(ObjectNumber list, int row);
// A left click at a point of a gadget, relative to its top-left corner.
void click_gadget(ObjectNumber gadget, int x, int y);
// A key pressed and released, into the control with the keyboard focus.
enum class Key { Left, Right, Down, Escape };
void press_key(Key key);
// A left press on a list row, or with row -1 below the last row (Shift held
// when asked, until the release); the pointer then moves by (dx, dy) from
// that point; the button comes up.
void press_row(ObjectNumber list, int row, bool shift = false);
void move_pointer_by(int dx, int dy);
void release_pointer();
// A left click in the middle of a toolbar's item (buttons and separators
// counted from 0).
void click_toolbar_item(ObjectNumber toolbar, int index);
// Whether a toolbar's item (counted as for a click) shows checked, and how
// wide the toolbar is on the screen.
bool toolbar_item_shown_checked(ObjectNumber toolbar, int index);
int toolbar_shown_width(ObjectNumber toolbar);
// The pointer moved, as a hand moves the mouse, to a point relative to the
// window's inner area (outside it for negative or large values).
void point_at(ObjectNumber window, int x, int y);
// Where the native slider's knob stands, as the control itself holds it.
double slider_shown_position(ObjectNumber slider);

// Where a gadget stands in its window's inner area, as the screen shows it.
ShownBox shown_box(ObjectNumber gadget);
// The gadget's control destroyed by itself, as by a program that reaches past the runtime.
void destroy_control(ObjectNumber gadget);
// Whether a window holds the control with that handle (as gadget_handle gave it).
bool control_exists(std::intptr_t handle);
// Whether the platform still has the window with that handle (as window_handle gave it).
bool window_exists(std::intptr_t handle);

// The title bar's buttons: minimize, maximize, and restore from either.
void minimize_window(ObjectNumber window);
void maximize_window(ObjectNumber window);
void restore_window(ObjectNumber window);
// The title bar's close button.
void ask_to_close(ObjectNumber window);
// A border dragged until the window's outer size is this.
void resize_window(ObjectNumber window, int width, int height);
// The colour the screen shows at a point of the window's inner area, 0x00BBGGRR.
int shown_colour(ObjectNumber window, int x, int y);
// Where the window stands on the screen, frame included, and where its inner
// area does; the screen's size (at 0, 0).
ShownBox shown_frame(ObjectNumber window);
ShownBox shown_inner_area(ObjectNumber window);
ShownBox shown_screen();
// The title the window's frame shows, UTF-8; whether the window is on the screen.
std::string shown_title(ObjectNumber window);
bool window_shown(ObjectNumber window);
// The window brought to the front with the keyboard focus, as a click on it does.
void activate_window(ObjectNumber window);
// The title bar dragged until the frame's top-left corner is there.
void move_window(ObjectNumber window, int x, int y);
// A right click in the middle of a toolbar's item.
void right_click_toolbar_item(ObjectNumber toolbar, int index);
// The pointer left resting in the middle of a toolbar's item, as for a list
// row; the tool tip's text the screen then shows, "" when none.
std::string rest_pointer_on_toolbar_item(ObjectNumber toolbar, int index);
// How far across and down the pointer may move from a press before it drags,
// as the platform sets it.
struct Distance {
    int x;
    int y;
};
Distance drag_threshold();
