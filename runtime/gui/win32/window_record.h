// The Win32 window table, private to the window and event code.
#pragma once

#include <windows.h>

#include <cstdint>

#include "runtime/core/object_table.h"

struct WindowRecord {
    HWND handle;  // the top-level window; 0 = entry free
    HACCEL accelerators;  // Tab and Shift+Tab focus keys
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
// and the focus moves its commands ask for.
inline constexpr WORD FOCUS_NEXT_COMMAND = 64001;
inline constexpr WORD FOCUS_PREVIOUS_COMMAND = 64002;
HACCEL focus_keys_create();
void focus_move(HWND window, bool forward);
// Translates a keyboard message through the active runtime window's focus
// keys; true when it became a command and needs no further dispatch.
bool focus_keys_translate(MSG& message);
