// Keys through the X server (XTest), as a second X client. A key held down
// repeats as the X server repeats it: a press and a release each time.
#include "tests/support/key_input.h"

#include <X11/keysym.h>

#include "runtime/gui/window.h"
#include "tests/support/gtk_desktop.h"

namespace {

Desktop& keyboard() {
    static Desktop person;
    return person;
}

constexpr struct {
    int key;
    unsigned long keysym;
} named_keys[] = {
    {KEY_BACKSPACE, XK_BackSpace}, {KEY_RETURN, XK_Return}, {KEY_ESCAPE, XK_Escape},  {KEY_SPACE, XK_space},
    {KEY_PAGE_UP, XK_Page_Up},     {KEY_PAGE_DOWN, XK_Page_Down}, {KEY_END, XK_End},  {KEY_HOME, XK_Home},
    {KEY_LEFT, XK_Left},           {KEY_UP, XK_Up},         {KEY_RIGHT, XK_Right},    {KEY_DOWN, XK_Down},
    {KEY_INSERT, XK_Insert},       {KEY_DELETE, XK_Delete}, {0x09, XK_Tab},
};

constexpr struct {
    int modifier;
    unsigned long keysym;
} modifier_keys[] = {{KEY_SHIFT, XK_Shift_L}, {KEY_CONTROL, XK_Control_L}, {KEY_ALT, XK_Alt_L}};

unsigned long keysym_of(int key) {
    if (key >= 'A' && key <= 'Z') return XK_a + static_cast<unsigned long>(key - 'A');
    if (key >= '0' && key <= '9') return XK_0 + static_cast<unsigned long>(key - '0');
    if (key >= KEY_F1 && key <= KEY_F1 + 11) return XK_F1 + static_cast<unsigned long>(key - KEY_F1);
    for (const auto& named : named_keys)
        if (named.key == key) return named.keysym;
    return 0;  // NoSymbol
}

}  // namespace

void give_keyboard_focus(std::intptr_t window) {
    auto* widget = reinterpret_cast<GtkWidget*>(window);
    if (!wait_drawn(widget)) return;
    keyboard().focus(widget);
    run_until([widget] { return gtk_window_is_active(GTK_WINDOW(widget)); });
}

void hold_modifiers(int modifiers, bool down) {
    for (const auto& held : modifier_keys) {
        if (!(modifiers & held.modifier)) continue;
        if (down) keyboard().key_down(held.keysym);
        else keyboard().key_up(held.keysym);
    }
}

void press_runtime_key(int key, int modifiers, int times) {
    hold_modifiers(modifiers, true);
    for (int i = 0; i < times; ++i) keyboard().key(keysym_of(key));
    hold_modifiers(modifiers, false);
}
