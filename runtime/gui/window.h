// Windows: numbered top-level windows. Every operation takes the caller's
// window number and does nothing (or returns 0) when no such window exists;
// the mouse positions return -1 then.
#pragma once

#include <cstdint>

#include "runtime/core/object_table.h"

// window_open flags of the runtime's own; all other bits are native style bits.
inline constexpr std::uint32_t WINDOW_CENTERED = 1;
inline constexpr std::uint32_t WINDOW_CENTERED_ON_PARENT = 2;
inline constexpr std::uint32_t WINDOW_TOOL = 4;
inline constexpr std::uint32_t WINDOW_NOT_GADGET_PARENT = 8;
inline constexpr std::uint32_t WINDOW_HIDDEN = 0x10000000;
inline constexpr int WINDOW_SHOW_NO_ACTIVATE = 0x2000000;  // window_hide flag

// Start-up: window table, default icon and cursor. The default icon is the
// program's own, when it carries one: icon resource 1 on Windows, the PNG
// images under /tunelathe/icon/ of its GLib resources on GTK (made by the
// image family, so its table and decoder start first).
bool window_init();
void window_end();   // end: closes every window

// Result: the native handle (the new number for DYNAMIC_ID), 0 on failure,
// also while another thread is opening or closing a window under that number.
std::intptr_t window_open(ObjectNumber number, int x, int y, int inner_width, int inner_height,
                          const char16_t* title, std::uint32_t flags, std::intptr_t parent = 0);
void window_close(ObjectNumber number);  // -1 closes every window
void window_hide(ObjectNumber number, int hide, int flags = 0);
void window_bounds(ObjectNumber number, int min_width, int min_height, int max_width, int max_height);
void window_color_set(ObjectNumber number, int colour);  // 0x00BBGGRR, -1 default
std::intptr_t window_handle(ObjectNumber number);
int window_width(ObjectNumber number, int inner = 1);
int window_height(ObjectNumber number, int inner = 1);
void window_title_set(ObjectNumber number, const char16_t* title);
int window_mouse_x(ObjectNumber number);
int window_mouse_y(ObjectNumber number);
int desktop_mouse_x();
int desktop_mouse_y();

// Keyboard shortcuts. A shortcut's key, pressed with exactly its modifiers
// while its window is active, whichever of the window's controls has the
// focus, arrives as EVENT_MENU with the shortcut's command as item and
// subtype -1; the control with the focus does not see that key. Tab and
// Shift+Tab stay the focus keys. Keys are the reference platform's
// virtual-key numbers: the letters 'A' to 'Z' and digits '0' to '9' as
// themselves, and these.
inline constexpr int KEY_BACKSPACE = 0x08;
inline constexpr int KEY_RETURN = 0x0D;  // Enter, on the keypad too
inline constexpr int KEY_ESCAPE = 0x1B;
inline constexpr int KEY_SPACE = 0x20;
inline constexpr int KEY_PAGE_UP = 0x21;
inline constexpr int KEY_PAGE_DOWN = 0x22;
inline constexpr int KEY_END = 0x23;
inline constexpr int KEY_HOME = 0x24;
inline constexpr int KEY_LEFT = 0x25;
inline constexpr int KEY_UP = 0x26;
inline constexpr int KEY_RIGHT = 0x27;
inline constexpr int KEY_DOWN = 0x28;
inline constexpr int KEY_INSERT = 0x2D;
inline constexpr int KEY_DELETE = 0x2E;
inline constexpr int KEY_F1 = 0x70;  // up to KEY_F1 + 11, F12
// Modifiers, combined with |.
inline constexpr int KEY_SHIFT = 1;
inline constexpr int KEY_CONTROL = 2;
inline constexpr int KEY_ALT = 4;
// Adds a shortcut to the window, or gives a key and modifiers it has already
// a new command. Commands go from 0 to 65535, but for the focus keys' own
// 64001 and 64002; a window holds up to WINDOW_SHORTCUT_LIMIT of them.
// Result: 1, or 0 for an unknown window, key, modifier or command, or a
// window that has no room left.
inline constexpr int WINDOW_SHORTCUT_LIMIT = 64;
int window_shortcut_add(ObjectNumber number, int key, int modifiers, int command);
