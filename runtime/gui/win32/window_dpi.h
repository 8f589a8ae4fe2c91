// Densities under per-monitor DPI awareness. The runtime's contract speaks in
// units of 96 DPI (runtime/gui/window_scale.h); the Win32 back end lays each
// runtime window out at its own density, kept in its record, and converts
// every length and position on the way to the system and back. Desktop
// positions use the primary screen's density, the system's.
#pragma once

#include <windows.h>

#include "runtime/core/object_table.h"

// The system's density: the primary screen's at sign-in.
int system_dpi();
// The density the system gives the window (GetDpiForWindow where the system
// has it, else the system's).
int native_window_dpi(HWND hwnd);
// The density the runtime window holding hwnd (itself or a control in it) is
// laid out at; the native one for windows of others.
int layout_dpi(HWND hwnd);

// AdjustWindowRectExForDpi where the system has it: the frame at that density.
void outer_rect_for_dpi(RECT* rect, DWORD style, bool menu, DWORD ex_style, int dpi);

// WM_DPICHANGED for a runtime window: it moves into the rectangle the system
// suggests, and its gadgets, their fonts and rows, and its toolbar follow the
// new density (wparam's low word).
LRESULT window_dpi_changed(HWND hwnd, ObjectNumber number, WPARAM wparam, LPARAM lparam);
