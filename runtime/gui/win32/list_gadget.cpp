// The list gadget (kind 6) on an owner-drawn "ListBox" control: items,
// selection, item data, colours, row marks (list_marks.h), and a
// press-and-drag detector that lets the program start a drag from a row.
#include <windows.h>
#include <windowsx.h>

#include <cstdlib>
#include <mutex>
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
// reading a long list row by row.
LRESULT send(const GadgetRecord& list, UINT message, WPARAM wparam = 0, LPARAM lparam = 0) {
    if (GetWindowThreadProcessId(list.handle, nullptr) == GetCurrentThreadId())
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

// A left press (no Shift or Ctrl) on an item, in an extended-selection list
// only on a selected one, becomes a pending press that a later move turns into
// a drag start and a release into a plain click.
LRESULT CALLBACK list_mouse_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    list_marks_mouse(hwnd, message, lparam);
    POINT pressed{};
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
        post_list_event(list.handle, window, code == LBN_DBLCLK ? 2 : 0);
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
    SetWindowLongPtrW(list->handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(list_mouse_procedure));
    list_fit_rows_to_font(list->handle);
    return gadget_creation_result(number, *list);
}
