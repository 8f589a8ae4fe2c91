// The Win32 window table, private to the window and event code.
#pragma once

#include <windows.h>

#include <cstdint>

#include "runtime/core/object_table.h"
#include "runtime/gui/window_shortcuts.h"

struct WindowRecord {
    HWND handle;  // the top-level window; 0 = entry free
    HACCEL accelerators;  // Tab and Shift+Tab focus keys, then the shortcuts
    ShortcutTable shortcuts;
    int colour;           // background, 0x00BBGGRR; -1 = class default
    HBRUSH brush;         // solid brush of colour, or none
    // Tracking limits as inner sizes in units, 0 = none; made outer sizes at
    // the window's density when the platform asks for them.
    int min_width;
    int min_height;
    int max_width;
    int max_height;
    int min_max;  // 1 while minimized or maximized
    int dpi;      // the density the window is laid out at (window_dpi.h)
};

ObjectTable<WindowRecord>& window_table();

// The record of a runtime window given its own handle (not a child's), or
// nullptr. Use under window_table().lock() when keeping the pointer.
WindowRecord* window_record_of(HWND hwnd);
// The same for a window whose number is known already (window_number_of):
// no second read of its property, each read being a request to the window
// server.
WindowRecord* window_record_of(HWND hwnd, ObjectNumber number);

// WM_GETMINMAXINFO: the window's limits as outer sizes at its density.
void window_limits_apply(HWND hwnd, const WindowRecord& record, MINMAXINFO* info);

LRESULT CALLBACK window_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

// Focus keys: the Tab / Shift+Tab accelerator table every runtime window gets,
// with the window's shortcuts after them, and the focus moves its commands
// ask for.
inline constexpr WORD FOCUS_NEXT_COMMAND = 64001;
inline constexpr WORD FOCUS_PREVIOUS_COMMAND = 64002;
// A shortcut's accelerator carries its place in the window's table from
// here on, not its command: the platform looks a command up in the window's
// system menu first, where 0 (a separator) and the system commands would
// never reach the window as commands.
inline constexpr WORD FIRST_SHORTCUT_COMMAND = 64003;
// The command of the shortcut whose accelerator sent this id, or -1.
int shortcut_command_of(HWND window, WORD id);
HACCEL focus_keys_create(const ShortcutTable& shortcuts);
void focus_move(HWND window, bool forward);
// Translates a keyboard message through the active runtime window's focus
// keys and shortcuts; true when it became a command and needs no further dispatch.
bool focus_keys_translate(MSG& message);
