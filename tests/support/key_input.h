// Keys as a person presses them, through the platform's own input (SendInput
// under Windows, XTest under X), for the tests of both back ends.
#pragma once

#include <cstdint>

// The window (its native handle) in front with the keyboard focus, as after
// a click on its title bar.
void give_keyboard_focus(std::intptr_t window);
// The key of a runtime key number (KEY_ of window.h, 'A' to 'Z', '0' to '9',
// and Tab as 0x09, its virtual key)
// pressed with the modifiers held (KEY_SHIFT, KEY_CONTROL, KEY_ALT), `times`
// times as when held down (the platform's auto-repeat), then let go.
void press_runtime_key(int key, int modifiers = 0, int times = 1);
// The modifiers' keys (KEY_SHIFT, KEY_CONTROL, KEY_ALT) pressed down and
// held, or let go.
void hold_modifiers(int modifiers, bool down);
