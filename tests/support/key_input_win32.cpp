// Keys through the system's input queue: a key held down repeats as its
// key-down messages do, without a key-up between them.
#include "tests/support/key_input.h"

#include <windows.h>

#include "runtime/gui/window.h"

namespace {

void key_input(WORD key, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

constexpr struct {
    int modifier;
    WORD key;
} modifier_keys[] = {{KEY_SHIFT, VK_SHIFT}, {KEY_CONTROL, VK_CONTROL}, {KEY_ALT, VK_MENU}};

}  // namespace

void give_keyboard_focus(std::intptr_t window) { SetForegroundWindow(reinterpret_cast<HWND>(window)); }

void hold_modifiers(int modifiers, bool down) {
    for (const auto& held : modifier_keys)
        if (modifiers & held.modifier) key_input(held.key, down ? 0 : KEYEVENTF_KEYUP);
}

// The runtime's key numbers are the virtual keys.
void press_runtime_key(int key, int modifiers, int times) {
    hold_modifiers(modifiers, true);
    for (int i = 0; i < times; ++i) key_input(static_cast<WORD>(key), 0);
    key_input(static_cast<WORD>(key), KEYEVENTF_KEYUP);
    hold_modifiers(modifiers, false);
}
