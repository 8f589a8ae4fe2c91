// window_shortcut_add: every check once here; the back end only keeps the
// table and hands its keys to the platform.
#include "runtime/gui/window_shortcuts.h"

namespace {

constexpr int ALL_MODIFIERS = KEY_SHIFT | KEY_CONTROL | KEY_ALT;
// The focus keys' commands: a shortcut of the program never stands for them.
constexpr int FOCUS_NEXT = 64001;
constexpr int FOCUS_PREVIOUS = 64002;

bool in(int value, int first, int last) { return value >= first && value <= last; }

}  // namespace

bool shortcut_key_known(int key) {
    switch (key) {
    case KEY_BACKSPACE:
    case KEY_RETURN:
    case KEY_ESCAPE:
    case KEY_INSERT:
    case KEY_DELETE:
        return true;
    default:
        return in(key, KEY_SPACE, KEY_DOWN) || in(key, '0', '9') || in(key, 'A', 'Z') || in(key, KEY_F1, KEY_F1 + 11);
    }
}

bool shortcut_table_put(ShortcutTable& table, Shortcut shortcut) {
    for (int i = 0; i < table.count; ++i) {
        Shortcut& entry = table.entries[i];
        if (entry.key == shortcut.key && entry.modifiers == shortcut.modifiers) {
            entry.command = shortcut.command;
            return true;
        }
    }
    if (table.count >= WINDOW_SHORTCUT_LIMIT) return false;
    table.entries[table.count++] = shortcut;
    return true;
}

int shortcut_table_find(const ShortcutTable& table, int key, int modifiers) {
    for (int i = 0; i < table.count; ++i)
        if (table.entries[i].key == key && table.entries[i].modifiers == modifiers) return table.entries[i].command;
    return -1;
}

int window_shortcut_add(ObjectNumber number, int key, int modifiers, int command) {
    if (!shortcut_key_known(key) || (modifiers & ~ALL_MODIFIERS) != 0 || !in(command, 0, 65535) ||
        command == FOCUS_NEXT || command == FOCUS_PREVIOUS)
        return 0;
    const Shortcut shortcut{static_cast<std::uint16_t>(key), static_cast<std::uint16_t>(modifiers),
                            static_cast<std::uint16_t>(command)};
    return window_shortcut_native_add(number, shortcut) ? 1 : 0;
}
