// A window's shortcuts under GTK: the window hears each key before the control
// with the focus (GTK hands key presses to the top-level window first), and a
// key of its table becomes EVENT_MENU, as an accelerator's command does on
// the reference platform. Tab is left to GTK, which moves the focus.
#include <gtk/gtk.h>

#include <mutex>

#include "runtime/gui/event.h"
#include "runtime/gui/gtk/window_record.h"

namespace {

struct KeyName {
    guint keyval;
    int key;
};

constexpr KeyName named_keys[] = {
    {GDK_KEY_BackSpace, KEY_BACKSPACE}, {GDK_KEY_Return, KEY_RETURN},       {GDK_KEY_KP_Enter, KEY_RETURN},
    {GDK_KEY_ISO_Enter, KEY_RETURN},    {GDK_KEY_Escape, KEY_ESCAPE},       {GDK_KEY_space, KEY_SPACE},
    {GDK_KEY_KP_Space, KEY_SPACE},      {GDK_KEY_Page_Up, KEY_PAGE_UP},     {GDK_KEY_KP_Page_Up, KEY_PAGE_UP},
    {GDK_KEY_Page_Down, KEY_PAGE_DOWN}, {GDK_KEY_KP_Page_Down, KEY_PAGE_DOWN}, {GDK_KEY_End, KEY_END},
    {GDK_KEY_KP_End, KEY_END},          {GDK_KEY_Home, KEY_HOME},           {GDK_KEY_KP_Home, KEY_HOME},
    {GDK_KEY_Left, KEY_LEFT},           {GDK_KEY_KP_Left, KEY_LEFT},        {GDK_KEY_Up, KEY_UP},
    {GDK_KEY_KP_Up, KEY_UP},            {GDK_KEY_Right, KEY_RIGHT},         {GDK_KEY_KP_Right, KEY_RIGHT},
    {GDK_KEY_Down, KEY_DOWN},           {GDK_KEY_KP_Down, KEY_DOWN},        {GDK_KEY_Insert, KEY_INSERT},
    {GDK_KEY_KP_Insert, KEY_INSERT},    {GDK_KEY_Delete, KEY_DELETE},       {GDK_KEY_KP_Delete, KEY_DELETE},
};

// The runtime's number of a key symbol, 0 for one no shortcut can have.
int key_of_keyval(guint keyval) {
    if (keyval >= GDK_KEY_a && keyval <= GDK_KEY_z) return static_cast<int>('A' + (keyval - GDK_KEY_a));
    if ((keyval >= GDK_KEY_A && keyval <= GDK_KEY_Z) || (keyval >= GDK_KEY_0 && keyval <= GDK_KEY_9))
        return static_cast<int>(keyval);
    if (keyval >= GDK_KEY_F1 && keyval <= GDK_KEY_F12) return KEY_F1 + static_cast<int>(keyval - GDK_KEY_F1);
    for (const KeyName& named : named_keys)
        if (named.keyval == keyval) return named.key;
    return 0;
}

// The key as its cap is read without Shift, so that Ctrl+Shift+S is S and
// Shift+1 is 1, as virtual keys have it; on a layout without Latin letters
// (Cyrillic, Greek) a letter key is the Latin letter another layout of the
// keyboard gives it, as the reference platform's virtual keys are.
int key_of(const GdkEventKey* event) {
    GdkKeymap* keymap = gdk_keymap_get_for_display(gdk_window_get_display(event->window));
    guint plain = 0;
    if (gdk_keymap_translate_keyboard_state(keymap, event->hardware_keycode, GdkModifierType(0), event->group,
                                            &plain, nullptr, nullptr, nullptr))
        if (const int key = key_of_keyval(plain)) return key;
    GdkKeymapKey* places = nullptr;
    guint* keyvals = nullptr;
    gint count = 0;
    int key = 0;
    if (gdk_keymap_get_entries_for_keycode(keymap, event->hardware_keycode, &places, &keyvals, &count)) {
        for (gint i = 0; i < count && !key; ++i)
            if (places[i].level == 0) key = key_of_keyval(keyvals[i]);
        g_free(places);
        g_free(keyvals);
    }
    return key;
}

int modifiers_of(guint state) {
    int modifiers = 0;
    if (state & GDK_SHIFT_MASK) modifiers |= KEY_SHIFT;
    if (state & GDK_CONTROL_MASK) modifiers |= KEY_CONTROL;
    if (state & GDK_MOD1_MASK) modifiers |= KEY_ALT;
    return modifiers;
}

// Each press, auto-repeated ones too, is one command: menu events are never
// collapsed in the queue.
gboolean on_key_press(GtkWidget* window, GdkEventKey* event, gpointer data) {
    const auto number = reinterpret_cast<ObjectNumber>(data);
    const int key = key_of(event);
    if (!key) return FALSE;
    int command;
    {
        auto& table = window_table();
        std::lock_guard guard(table.lock());
        const WindowRecord* record = table.find(number);
        if (!record || record->handle != window) return FALSE;
        command = shortcut_table_find(record->shortcuts, key, modifiers_of(event->state));
    }
    if (command < 0) return FALSE;
    event_post(EVENT_MENU, command, number, -1);
    return TRUE;
}

}  // namespace

void window_shortcuts_connect(GtkWidget* window, ObjectNumber number) {
    g_signal_connect(window, "key-press-event", G_CALLBACK(on_key_press), reinterpret_cast<gpointer>(number));
}

bool window_shortcut_native_add(ObjectNumber number, Shortcut shortcut) {
    auto& table = window_table();
    std::lock_guard guard(table.lock());
    WindowRecord* record = table.find(number);
    return record && shortcut_table_put(record->shortcuts, shortcut);
}
