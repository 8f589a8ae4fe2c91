// The list gadget (kind 6) on an owner-drawn "ListBox" control: items,
// selection, item data, colours, row marks (list_marks.h), a press-and-drag
// detector that lets the program start a drag from a row, and the native side
// of reordering rows by drag (list_drag.h: capture, timer, Escape).
#include <windows.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include "runtime/gui/event.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/list_native.h"
#include "runtime/gui/win32/brush_cache.h"
#include "runtime/gui/win32/gadget_record.h"
#include "runtime/gui/win32/gui_win32.h"
#include "runtime/gui/win32/list_marks.h"
#include "runtime/text/text.h"

namespace {

// Child, visible, both scroll bars, group, tab stop, notify, has strings,
// no integral height; its rows drawn by the runtime, in rows of one height.
constexpr DWORD LIST_STYLE = 0x50330141 | LBS_OWNERDRAWFIXED;
constexpr wchar_t MOUSE_DOWN_PROPERTY[] = L"QX_MouseDown";
constexpr UINT_PTR DRAG_SCROLL_TIMER = 0x5158;  // the list's own timer for auto-scroll

int drag_width = 0;  // the system drag threshold, read at the first creation
int drag_height = 0;
std::once_flag drag_threshold_read;

const wchar_t* wide(const char16_t* text) {
    return text ? reinterpret_cast<const wchar_t*>(text) : L"";
}

// The list's own messages, sent by this family. From the thread that owns the
// list they go straight to the list's own procedure: the runtime's procedures
// in front of it handle only mouse messages and the window's end, and passing
// through them and the system's dispatch doubles the cost of filling or
// reading a long list row by row. The list's thread is the one that made it:
// asking the system for it at every message made filling a list a fifth
// slower under Wine.
LRESULT send(const GadgetRecord& list, UINT message, WPARAM wparam = 0, LPARAM lparam = 0) {
    if (list.thread == GetCurrentThreadId())
        return CallWindowProcW(list.previous_proc, list.handle, message, wparam, lparam);
    return SendMessageW(list.handle, message, wparam, lparam);
}

bool has_multiple_selection(HWND handle) {
    return (GetWindowLongPtrW(handle, GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0;
}

void post_list_event(HWND handle, ObjectNumber window, int subtype) {
    event_post(EVENT_GADGET, static_cast<ObjectNumber>(GetWindowLongPtrW(handle, GWLP_ID)), window, subtype);
}

// The pending press point lives in "QX_MouseDown"; bit 31 marks it present,
// so a press at (0, 0) is not mistaken for none. A press on an item always
// lies inside the client area, so 15 bits hold either coordinate.
constexpr std::uintptr_t PRESS_MARK = 0x80000000u;

void press_remember(HWND handle, LPARAM point) {
    auto value = PRESS_MARK | (static_cast<std::uintptr_t>(HIWORD(point) & 0x7FFF) << 16) | LOWORD(point);
    SetPropW(handle, MOUSE_DOWN_PROPERTY, reinterpret_cast<HANDLE>(value));
}

bool press_pending(HWND handle, POINT* point) {
    auto value = reinterpret_cast<std::uintptr_t>(GetPropW(handle, MOUSE_DOWN_PROPERTY));
    if (!(value & PRESS_MARK)) return false;
    point->x = static_cast<LONG>(value & 0xFFFF);
    point->y = static_cast<LONG>((value >> 16) & 0x7FFF);
    return true;
}

void press_forget(HWND handle) {
    RemovePropW(handle, MOUSE_DOWN_PROPERTY);
    if (GetCapture() == handle) ReleaseCapture();
}

// Runs the step on the list's record, under the gadget table's lock; false
// when the control is no live list gadget.
template <typename Step>
bool with_list(HWND hwnd, Step step) {
    std::lock_guard guard(gadget_table_lock());
    GadgetRecord* list = nullptr;
    if (!gadget_lookup(static_cast<ObjectNumber>(GetWindowLongPtrW(hwnd, GWLP_ID)), &list) || list->handle != hwnd)
        return false;
    step(*list);
    return true;
}

bool row_lifted(HWND hwnd) {
    bool lifted = false;
    with_list(hwnd, [&lifted](GadgetRecord& list) { lifted = list_drag_lifted(list.drag); });
    return lifted;
}

// The drag start of a press on a row of a list that lets its rows be
// reordered lifts the row: the list keeps the mouse until the release.
void lift_pressed_row(HWND hwnd, POINT pressed, int y) {
    const LRESULT hit = SendMessageW(hwnd, LB_ITEMFROMPOINT, 0, MAKELPARAM(pressed.x, pressed.y));
    if (HIWORD(hit) != 0) return;
    with_list(hwnd, [&](GadgetRecord& list) {
        if (!list_drag_lift(list, list.drag, LOWORD(hit))) return;
        SetCapture(hwnd);
        SetTimer(hwnd, DRAG_SCROLL_TIMER, LIST_DRAG_SCROLL_MILLISECONDS, nullptr);
        list_drag_follow(list, list.drag, y);
    });
}

// The lifted row's drag is over, released or cancelled: the mouse and the
// timer go back.
void drag_over(HWND hwnd, bool released, POINT at) {
    with_list(hwnd, [&](GadgetRecord& list) {
        if (released) {
            RECT client{};
            GetClientRect(hwnd, &client);
            list_drag_follow(list, list.drag, at.y);
            list_drag_release(list, list.drag, PtInRect(&client, at) != FALSE);
        } else {
            list_drag_cancel(list, list.drag);
        }
    });
    KillTimer(hwnd, DRAG_SCROLL_TIMER);
    if (GetCapture() == hwnd) ReleaseCapture();
}

// A left press (no Shift or Ctrl) on an item, in an extended-selection list
// only on a selected one, becomes a pending press that a later move turns into
// a drag start and a release into a plain click.
LRESULT CALLBACK list_mouse_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    list_marks_mouse(hwnd, message, lparam);
    // The list box reports a double click below its last row too, where no
    // row was clicked twice: there it is a second press.
    if (message == WM_LBUTTONDBLCLK && HIWORD(SendMessageW(hwnd, LB_ITEMFROMPOINT, 0, lparam)) != 0)
        message = WM_LBUTTONDOWN;
    POINT pressed{};
    // Only these messages carry a lifted row; the rest (a fill of thousands
    // of rows among them) pass without a look at the drag.
    const bool drag_message = message == WM_MOUSEMOVE || message == WM_LBUTTONUP || message == WM_KEYDOWN ||
                              message == WM_TIMER || message == WM_CAPTURECHANGED;
    if (drag_message && row_lifted(hwnd)) {
        const POINT at{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
        switch (message) {
        case WM_MOUSEMOVE:
            with_list(hwnd, [&at](GadgetRecord& list) { list_drag_follow(list, list.drag, at.y); });
            return 0;
        case WM_LBUTTONUP:
            drag_over(hwnd, true, at);
            return 0;
        case WM_KEYDOWN:
            if (wparam == VK_ESCAPE) {
                drag_over(hwnd, false, at);
                return 0;
            }
            break;
        case WM_TIMER:
            if (wparam == DRAG_SCROLL_TIMER) {
                with_list(hwnd, [](GadgetRecord& list) { list_drag_scroll(list, list.drag); });
                return 0;
            }
            break;
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lparam) != hwnd) drag_over(hwnd, false, at);
            break;
        }
    } else if (message == WM_TIMER && wparam == DRAG_SCROLL_TIMER) {
        KillTimer(hwnd, DRAG_SCROLL_TIMER);  // the drag ended without the list (its rows changed)
        return 0;
    }
    switch (message) {
    case WM_LBUTTONDOWN: {
        if (wparam & (MK_SHIFT | MK_CONTROL)) break;
        LRESULT hit = SendMessageW(hwnd, LB_ITEMFROMPOINT, 0, lparam);
        if (HIWORD(hit) != 0) break;  // below the last item
        bool extended = (GetWindowLongPtrW(hwnd, GWL_STYLE) & LBS_EXTENDEDSEL) != 0;
        if (extended) {
            if (SendMessageW(hwnd, LB_GETSEL, LOWORD(hit), 0) <= 0) break;
            SetCapture(hwnd);
            press_remember(hwnd, lparam);
            return 0;  // keeps the selection that is about to be dragged
        }
        LRESULT result = CallWindowProcW(gadget_procedure, hwnd, message, wparam, lparam);
        SetCapture(hwnd);
        press_remember(hwnd, lparam);
        return result;
    }
    case WM_MOUSEMOVE:
        if (press_pending(hwnd, &pressed) &&
            (std::abs(GET_X_LPARAM(lparam) - pressed.x) > drag_width ||
             std::abs(GET_Y_LPARAM(lparam) - pressed.y) > drag_height)) {
            press_forget(hwnd);
            post_list_event(hwnd, window_number_of(GetParent(hwnd)), GADGET_DRAG_START);
            lift_pressed_row(hwnd, pressed, GET_Y_LPARAM(lparam));
            if (row_lifted(hwnd)) return 0;
        }
        break;
    case WM_LBUTTONUP: {
        // The list lets go of the mouse inside its own button-up, and that
        // capture change would end the press first: look before.
        const bool was_pressed = press_pending(hwnd, &pressed);
        LRESULT result = CallWindowProcW(gadget_procedure, hwnd, message, wparam, lparam);
        if (was_pressed) {
            press_forget(hwnd);
            post_list_event(hwnd, window_number_of(GetParent(hwnd)), 0);
        }
        // A drag the program's own change of the rows ended still held the
        // mouse: the button is up, so no capture of the list lasts.
        if (GetCapture() == hwnd) ReleaseCapture();
        return result;
    }
    case WM_CAPTURECHANGED:
        // Someone else took the mouse (a dialog, a menu): the press is over.
        if (reinterpret_cast<HWND>(lparam) != hwnd) RemovePropW(hwnd, MOUSE_DOWN_PROPERTY);
        break;
    case WM_NCDESTROY:
        RemovePropW(hwnd, MOUSE_DOWN_PROPERTY);
        break;
    }
    return CallWindowProcW(gadget_procedure, hwnd, message, wparam, lparam);
}

bool list_event(GadgetRecord& list, ObjectNumber window, UINT message, WPARAM wparam, LPARAM lparam,
                LRESULT* result) {
    if (message == WM_COMMAND) {
        int code = HIWORD(wparam);
        if (code != LBN_SELCHANGE && code != LBN_DBLCLK) return false;
        post_list_event(list.handle, window, code == LBN_DBLCLK ? GADGET_DOUBLE_CLICK : 0);
        *result = 0;
        return true;
    }
    if (message == WM_DRAWITEM) {
        list_row_draw(list, *reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
        *result = TRUE;
        return true;
    }
    if (message != WM_CTLCOLORLISTBOX) return false;
    if (list.front_colour == -1 && list.back_colour == -1) return false;
    auto dc = reinterpret_cast<HDC>(wparam);
    SetTextColor(dc, list.front_colour != -1 ? static_cast<COLORREF>(list.front_colour)
                                             : GetSysColor(COLOR_WINDOWTEXT));
    if (list.back_brush) {
        SetBkColor(dc, static_cast<COLORREF>(list.back_colour));
        *result = reinterpret_cast<LRESULT>(list.back_brush);
    } else {
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        *result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    }
    return true;
}

void list_release(GadgetRecord& list) {
    list_marks_release(list);
    brush_cache_return(list.back_brush);
    list.back_brush = nullptr;
}

}  // namespace

const GadgetNative list_native = {
    .event_handler = list_event,
    .release = list_release,
};

int list_native_count(GadgetRecord& list) {
    LRESULT count = send(list, LB_GETCOUNT);
    return count == LB_ERR ? 0 : static_cast<int>(count);
}

int list_native_selected(GadgetRecord& list) {
    if (has_multiple_selection(list.handle)) {
        int first = -1;
        if (send(list, LB_GETSELITEMS, 1, reinterpret_cast<LPARAM>(&first)) == 1) return first;
        return -1;
    }
    LRESULT current = send(list, LB_GETCURSEL);
    return current == LB_ERR ? -1 : static_cast<int>(current);
}

void list_native_select(GadgetRecord& list, int row) {
    if (has_multiple_selection(list.handle)) {
        send(list, LB_SETSEL, FALSE, -1);
        if (row != -1) send(list, LB_SETSEL, TRUE, row);
        return;
    }
    send(list, LB_SETCURSEL, static_cast<WPARAM>(row));
}

void list_native_row_select(GadgetRecord& list, int row, bool selected) {
    if (has_multiple_selection(list.handle)) {
        send(list, LB_SETSEL, selected, row);
    } else if (selected) {
        send(list, LB_SETCURSEL, static_cast<WPARAM>(row));
    } else if (send(list, LB_GETCURSEL) == row) {
        send(list, LB_SETCURSEL, static_cast<WPARAM>(-1));
    }
}

bool list_native_row_selected(GadgetRecord& list, int row) {
    return send(list, LB_GETSEL, static_cast<WPARAM>(row)) > 0;
}

char16_t* list_native_text(GadgetRecord& list, int row, int position) {
    LRESULT length = send(list, LB_GETTEXTLEN, static_cast<WPARAM>(row));
    if (length == LB_ERR) return gadget_empty_text(position);
    char16_t* text = text_builder_reserve(static_cast<int>(length), position);
    LRESULT copied = send(list, LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text));
    if (copied < 0) copied = 0;
    text[copied] = u'\0';
    if (copied < length) text_builder_release(static_cast<int>(length - copied));
    return text;
}

bool list_native_text_is(GadgetRecord& list, int row, const char16_t* text) {
    LRESULT length = send(list, LB_GETTEXTLEN, static_cast<WPARAM>(row));
    if (length == LB_ERR || static_cast<std::size_t>(length) != wcslen(wide(text))) return false;
    std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1);
    send(list, LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(buffer.data()));
    return wcscmp(buffer.data(), wide(text)) == 0;
}

void list_native_text_set(GadgetRecord& list, int row, const char16_t* text) {
    LRESULT data = send(list, LB_GETITEMDATA, static_cast<WPARAM>(row));
    if (send(list, LB_DELETESTRING, static_cast<WPARAM>(row)) == LB_ERR) return;
    LRESULT index = send(list, LB_INSERTSTRING, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(wide(text)));
    if (index >= 0) send(list, LB_SETITEMDATA, static_cast<WPARAM>(index), data);
}

void list_native_insert(GadgetRecord& list, int row, const char16_t* text) {
    const LRESULT added = send(list, LB_INSERTSTRING, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(wide(text)));
    if (added >= 0) list_marks_row_added(list, static_cast<int>(added));
}

void list_native_remove(GadgetRecord& list, int row) {
    if (send(list, LB_DELETESTRING, static_cast<WPARAM>(row)) != LB_ERR) list_marks_row_removed(list, row);
}

void list_native_clear(GadgetRecord& list) {
    send(list, LB_RESETCONTENT);
    list_marks_cleared(list);
}

void list_native_colour_set(GadgetRecord& list, int colour_type, int colour) {
    if (colour_type == GADGET_COLOR_FRONT) {
        list.front_colour = colour;
    } else {
        brush_cache_return(list.back_brush);
        list.back_brush = colour == -1 ? nullptr : brush_cache_take(static_cast<COLORREF>(colour));
        list.back_colour = colour;
    }
    RedrawWindow(list.handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

int list_native_colour(GadgetRecord& list, int colour_type) {
    return colour_type == GADGET_COLOR_FRONT ? list.front_colour : list.back_colour;
}

void list_native_data_set(GadgetRecord& list, int row, std::intptr_t value) {
    send(list, LB_SETITEMDATA, static_cast<WPARAM>(row), value);
}

std::intptr_t list_native_data(GadgetRecord& list, int row) {
    return send(list, LB_GETITEMDATA, static_cast<WPARAM>(row));
}

void list_native_mark_set(GadgetRecord& list, int row, int mark, const char16_t* tip) {
    list_marks_set(list, row, mark, tip);
}

int list_native_mark(GadgetRecord& list, int row) { return list_marks_get(list, row); }

ListDrag& list_native_drag(GadgetRecord& list) { return list.drag; }

ListShown list_native_shown(GadgetRecord& list) {
    RECT client{};
    GetClientRect(list.handle, &client);
    const int row_height = static_cast<int>(send(list, LB_GETITEMHEIGHT));
    return {static_cast<int>(send(list, LB_GETTOPINDEX)) * row_height, static_cast<int>(client.bottom), row_height};
}

// As far as the rows go: the last row at the bottom of the list.
void list_native_scroll(GadgetRecord& list, int rows) {
    const ListShown shown = list_native_shown(list);
    if (shown.row_height <= 0) return;
    const int last_top = std::max(0, list_native_count(list) - shown.height / shown.row_height);
    const int top = std::clamp(static_cast<int>(send(list, LB_GETTOPINDEX)) + rows, 0, last_top);
    send(list, LB_SETTOPINDEX, static_cast<WPARAM>(top));
}

// The mark is drawn with the rows (list_row_draw): the rows beside the old
// and the new place are drawn again.
void list_native_gap_show(GadgetRecord& list, int old_gap, int gap) {
    const int count = list_native_count(list);
    for (int place : {old_gap, gap}) {
        if (place < 0 || count == 0) continue;
        for (int row : {place - 1, place}) {
            RECT rect{};
            if (row >= 0 && row < count && send(list, LB_GETITEMRECT, static_cast<WPARAM>(row),
                                                  reinterpret_cast<LPARAM>(&rect)) != LB_ERR)
                InvalidateRect(list.handle, &rect, FALSE);
        }
    }
}

void list_native_post(GadgetRecord& list, int subtype, void* data, EventDataRelease release) {
    event_post(EVENT_GADGET, gadget_number_of(list), window_number_of(GetParent(list.handle)), subtype, data, release);
}

// The list box has no move: the row goes and comes back with its text and
// data, and the selection follows the rows.
void list_native_move(GadgetRecord& list, int from, int to) {
    const int selected = list_native_selected(list);
    const LRESULT length = send(list, LB_GETTEXTLEN, static_cast<WPARAM>(from));
    if (length == LB_ERR) return;
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    send(list, LB_GETTEXT, static_cast<WPARAM>(from), reinterpret_cast<LPARAM>(text.data()));
    const LRESULT data = send(list, LB_GETITEMDATA, static_cast<WPARAM>(from));
    if (send(list, LB_DELETESTRING, static_cast<WPARAM>(from)) == LB_ERR) return;
    const LRESULT index = send(list, LB_INSERTSTRING, static_cast<WPARAM>(to), reinterpret_cast<LPARAM>(text.c_str()));
    if (index < 0) return;
    send(list, LB_SETITEMDATA, static_cast<WPARAM>(index), data);
    list_marks_row_moved(list, from, to);
    if (selected == from) list_native_select(list, to);
    else if (selected > from && selected <= to) list_native_select(list, selected - 1);
    else if (selected >= to && selected < from) list_native_select(list, selected + 1);
}

// An owner-drawn list box takes its rows' height from its owner once, when
// it is made; a plain one takes its font's. Rows as high as the font's keep
// the list as it was.
void list_fit_rows_to_font(HWND list) {
    if (!(GetWindowLongPtrW(list, GWL_STYLE) & LBS_OWNERDRAWFIXED)) return;
    HDC dc = GetDC(list);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(list, dc);
    SendMessageW(list, LB_SETITEMHEIGHT, 0, MAKELPARAM(metrics.tmHeight, 0));
}

std::intptr_t gadget_list_view(ObjectNumber number, int x, int y, int width, int height, int flags) {
    std::call_once(drag_threshold_read, [] {
        drag_width = GetSystemMetrics(SM_CXDRAG);
        drag_height = GetSystemMetrics(SM_CYDRAG);
    });
    GadgetRecord* list = gadget_create(number, list_kind, L"ListBox", WS_EX_CLIENTEDGE,
                                       static_cast<DWORD>(flags) | LIST_STYLE, x, y, width, height);
    if (!list) return 0;
    list->drag = {false, -1, -1, 0};
    SetWindowLongPtrW(list->handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(list_mouse_procedure));
    list_fit_rows_to_font(list->handle);
    return gadget_creation_result(number, *list);
}
