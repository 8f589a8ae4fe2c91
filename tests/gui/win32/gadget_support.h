// What the Windows gadget tests look at past the runtime: the test's window,
// a gadget's control, where a control stands and the colours it shows.
#pragma once

#include <windows.h>

#include "runtime/gui/gadget.h"
#include "runtime/gui/window.h"
#include "tests/gui/gadget_window.h"

inline HWND test_window() { return reinterpret_cast<HWND>(window_handle(GadgetWindowTest::WINDOW)); }
inline HWND handle_of(ObjectNumber gadget) { return reinterpret_cast<HWND>(gadget_handle(gadget)); }

inline RECT rect_in_parent(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The colour shown at a point of a control's client area.
inline COLORREF pixel_at(HWND control, int x, int y) {
    HDC dc = GetDC(control);
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(control, dc);
    return colour;
}
