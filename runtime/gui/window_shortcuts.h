// A window's keyboard shortcuts, apart from the platform: the checks of
// window_shortcut_add and the table each back end keeps in its window record.
#pragma once

#include <cstdint>

#include "runtime/gui/window.h"

struct Shortcut {
    std::uint16_t key;  // KEY_ number
    std::uint16_t modifiers;  // KEY_SHIFT | KEY_CONTROL | KEY_ALT
    std::uint16_t command;
};

// Plain data, as window records are.
struct ShortcutTable {
    int count;
    Shortcut entries[WINDOW_SHORTCUT_LIMIT];
};

// Whether the key is one a shortcut may have.
bool shortcut_key_known(int key);
// Puts the shortcut in, in place of one with the same key and modifiers;
// false when the table is full.
bool shortcut_table_put(ShortcutTable& table, Shortcut shortcut);
// The command of the key with exactly these modifiers, or -1.
int shortcut_table_find(const ShortcutTable& table, int key, int modifiers);

// Each back end's part: puts the checked shortcut into the window's table and
// makes the platform use it. False when there is no such window or no room.
bool window_shortcut_native_add(ObjectNumber number, Shortcut shortcut);
