// What a drop target shows while a drag passes over it. A list gadget marks
// the row under the pointer with a focus rectangle and, on the drop, makes
// that row the selection; windows and other gadget kinds show nothing.
#include <windows.h>

#include "runtime/gui/gadget.h"
#include "runtime/gui/win32/drop_win32.h"

namespace {

constexpr UINT REDRAW_NOW = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW;

// The row under a client point; -1 below the last row or outside the list.
int list_row_at(HWND list, POINT point) {
    const LRESULT hit = SendMessageW(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y));
    if (HIWORD(hit) != 0) return -1;
    const int row = LOWORD(hit);
    return row < SendMessageW(list, LB_GETCOUNT, 0, 0) ? row : -1;
}

bool list_row_rect(HWND list, int row, RECT* rect) {
    return row >= 0 &&
           SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(rect)) != LB_ERR;
}

// The old mark's row only, or the whole list when there is no such row.
void list_redraw_row(HWND list, int row) {
    RECT rect{};
    RedrawWindow(list, list_row_rect(list, row, &rect) ? &rect : nullptr, nullptr, REDRAW_NOW);
}

// Cut at the bottom of the client area, so that a partly shown last row still
// shows its mark's bottom edge.
void list_draw_mark(HWND list, int row) {
    RECT rect{};
    RECT client{};
    if (!list_row_rect(list, row, &rect) || !GetClientRect(list, &client)) return;
    if (rect.bottom > client.bottom) rect.bottom = client.bottom;
    if (HDC dc = GetDC(list)) {
        DrawFocusRect(dc, &rect);
        ReleaseDC(list, dc);
    }
}

void list_select(HWND list, int row) {
    if (GetWindowLongPtrW(list, GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) {
        SendMessageW(list, LB_SETSEL, FALSE, -1);
        if (row >= 0) SendMessageW(list, LB_SETSEL, TRUE, row);
        return;
    }
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(row), 0);  // -1 clears the selection
}

int list_feedback(HWND list, int marked_row, POINT point, int state) {
    switch (state) {
    case DROP_FEEDBACK_MARK: {
        const int row = list_row_at(list, point);
        if (row == marked_row) return marked_row;
        list_redraw_row(list, marked_row);
        // The focus rectangle inverts what it covers: drawn once per new row.
        if (row >= 0) list_draw_mark(list, row);
        return row;
    }
    case DROP_FEEDBACK_APPLY:
        RedrawWindow(list, nullptr, nullptr, REDRAW_NOW);
        list_select(list, list_row_at(list, point));
        return -1;
    default:
        if (marked_row >= 0) RedrawWindow(list, nullptr, nullptr, REDRAW_NOW);
        return -1;
    }
}

}  // namespace

int drop_feedback(int owner_kind, HWND handle, int marked_row, POINT point, int state) {
    if (owner_kind == GADGET_KIND_LIST) return list_feedback(handle, marked_row, point, state);
    return -1;
}
