// A top-level window made past the runtime, with the system's default window
// procedure, as another part of the program or another program makes one.
#pragma once

#include <windows.h>

// At (40, 40) unless placed; visible when the style says so.
HWND plain_window(const wchar_t* title, DWORD style, DWORD ex_style = 0, int width = 300, int height = 200);
