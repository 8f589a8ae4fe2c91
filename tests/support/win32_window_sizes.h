// A window's sizes as the system has them, for the tests that look past the
// runtime at a Windows window.
#pragma once

#include <windows.h>

// Where the window stands on the screen, frame included.
RECT window_rect(HWND hwnd);
// Its inner (client) area's size.
SIZE client_size(HWND hwnd);
// The outer size a window of its styles has for that inner size.
SIZE outer_of(HWND hwnd, int width, int height);
