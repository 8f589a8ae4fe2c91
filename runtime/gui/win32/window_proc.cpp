// The runtime window procedure: turns the messages of runtime windows into
// events. Queued events go through event_post; immediate ones are returned by
// the event_wait that dispatches the message.
#include <windows.h>

#include <mutex>

#include "runtime/gui/event.h"
#include "runtime/gui/win32/event_state.h"
#include "runtime/gui/win32/gui_win32.h"
#include "runtime/gui/win32/window_dpi.h"
#include "runtime/gui/win32/window_record.h"

namespace {

constexpr wchar_t FOCUS_PROPERTY[] = L"QX_Focus";

LRESULT on_size(HWND hwnd, ObjectNumber number, WPARAM kind) {
    std::lock_guard guard(window_table().lock());
    WindowRecord* record = window_record_of(hwnd, number);
    if (!record) return 0;  // an inner window of a runtime window: nothing to report
    switch (kind) {
    case SIZE_MINIMIZED:
        record->min_max = 1;
        event_post(EVENT_MINIMIZE_WINDOW, 0, number, 0);
        return 0;
    case SIZE_MAXIMIZED:
        record->min_max = 1;
        event_post(EVENT_MAXIMIZE_WINDOW, 0, number, 0);
        break;
    case SIZE_RESTORED:
        if (record->min_max) {
            record->min_max = 0;
            event_post(EVENT_RESTORE_WINDOW, 0, number, 0);
        }
        break;
    }
    event_post(EVENT_SIZE_WINDOW, 0, number, 0);
    return 0;
}

LRESULT on_activate(HWND hwnd, ObjectNumber number, WPARAM wparam, LPARAM lparam) {
    if (LOWORD(wparam) != WA_INACTIVE) {
        // The control that had the focus when the window lost it gets it back.
        HWND saved = static_cast<HWND>(GetPropW(hwnd, FOCUS_PROPERTY));
        if (saved && IsChild(hwnd, saved)) SetFocus(saved);
        else DefWindowProcW(hwnd, WM_ACTIVATE, wparam, lparam);
        event_post(EVENT_ACTIVATE_WINDOW, 0, number, 0);
        return 0;
    }
    HWND focus = GetFocus();
    SetPropW(hwnd, FOCUS_PROPERTY, IsChild(hwnd, focus) ? focus : nullptr);
    SendMessageW(hwnd, WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
    event_post(EVENT_DEACTIVATE_WINDOW, 0, number, 0);
    return 0;
}

LRESULT on_erase_background(HWND hwnd, ObjectNumber number, HDC dc) {
    HBRUSH brush = nullptr;
    {
        std::lock_guard guard(window_table().lock());
        if (WindowRecord* record = window_record_of(hwnd, number)) brush = record->brush;
    }
    LRESULT result;
    if (brush) {
        RECT client;
        GetClientRect(hwnd, &client);
        FillRect(dc, &client, brush);
        result = 1;
    } else {
        result = DefWindowProcW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    }
    event_post(EVENT_REPAINT, 0, number, 0);
    return result;
}

BOOL CALLBACK forward_colour_change(HWND child, LPARAM) {
    SendMessageW(child, WM_SYSCOLORCHANGE, 0, 0);
    return TRUE;
}

void on_min_max_info(HWND hwnd, ObjectNumber number, MINMAXINFO* info) {
    std::lock_guard guard(window_table().lock());
    if (WindowRecord* record = window_record_of(hwnd, number)) window_limits_apply(hwnd, *record, info);
}

LRESULT on_command(HWND hwnd, ObjectNumber number, WPARAM wparam, LPARAM lparam) {
    HWND control = reinterpret_cast<HWND>(lparam);
    if (control) {
        LRESULT result = 0;
        if (gadget_forward_message(control, number, WM_COMMAND, wparam, lparam, &result)) return result;
        const auto id = static_cast<ObjectNumber>(GetWindowLongPtrW(control, GWLP_ID));
        if (id == TOOLBAR_CONTROL_ID) event_set_immediate(EVENT_MENU, LOWORD(wparam), number, HIWORD(wparam));
        else event_set_immediate(EVENT_GADGET, id, number, HIWORD(wparam));
        return 0;
    }
    if (HIWORD(wparam) != 0) {  // a keyboard shortcut
        if (LOWORD(wparam) == FOCUS_NEXT_COMMAND || LOWORD(wparam) == FOCUS_PREVIOUS_COMMAND) {
            focus_move(hwnd, LOWORD(wparam) == FOCUS_NEXT_COMMAND);
            return 0;
        }
        const int command = shortcut_command_of(hwnd, LOWORD(wparam));
        event_set_immediate(EVENT_MENU, command >= 0 ? command : LOWORD(wparam), number, -1);
        return 0;
    }
    event_set_immediate(EVENT_MENU, static_cast<ObjectNumber>(wparam), number, -1);
    return 0;
}

int tray_subtype(LPARAM mouse_message) {
    switch (mouse_message) {
    case WM_LBUTTONDOWN: return 0;
    case WM_RBUTTONDOWN: return 1;
    case WM_LBUTTONDBLCLK: return 2;
    case WM_RBUTTONDBLCLK: return 3;
    default: return -1;
    }
}

// A drop message still queued for a window that goes would be discarded with
// its record, and the record holds the source's medium.
void release_undelivered_drops(HWND hwnd) {
    const EventDataRelease release = event_drop_release();
    MSG message;
    // Posted messages only: nothing sent from another thread may run while the window ends.
    while (PeekMessageW(&message, hwnd, WINDOW_DROP_MESSAGE, GADGET_DROP_MESSAGE, PM_REMOVE | PM_QS_POSTMESSAGE))
        if (release && message.lParam) release(reinterpret_cast<void*>(message.lParam));
}

// The sender of a control notification, if the message names one.
HWND notifying_control(UINT message, LPARAM lparam) {
    if (message == WM_NOTIFY) return lparam ? reinterpret_cast<NMHDR*>(lparam)->hwndFrom : nullptr;
    if (message == WM_DRAWITEM) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
        return item && item->CtlType != ODT_MENU ? item->hwndItem : nullptr;
    }
    return reinterpret_cast<HWND>(lparam);
}

}  // namespace

LRESULT CALLBACK window_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    // An owner-drawn list tells its window of every row it removes, each row
    // of a clear included; its rows hold nothing to release, so 100,000 of
    // them must not cost a look-up of the window each (seconds under Wine).
    if (message == WM_DELETEITEM) return TRUE;
    const ObjectNumber number = window_number_of(hwnd);
    event_state().live.window = number;
    const bool own = window_record_of(hwnd, number) != nullptr;

    switch (message) {
    case WM_MOVE:
    case WM_CLOSE:
        // Closing is the program's decision: the window stays until window_close.
        if (own) event_post(message == WM_MOVE ? EVENT_MOVE_WINDOW : EVENT_CLOSE_WINDOW, number, number, 0);
        return 0;
    case WM_SIZE:
        if (number == -1) break;
        return on_size(hwnd, number, wparam);
    case WM_ACTIVATE:
        if (!own) break;
        return on_activate(hwnd, number, wparam, lparam);
    case WM_ERASEBKGND:
        if (!own) break;
        return on_erase_background(hwnd, number, reinterpret_cast<HDC>(wparam));
    case WM_SYSCOLORCHANGE:
        EnumChildWindows(hwnd, forward_colour_change, 0);
        return 0;
    case WM_GETMINMAXINFO:
        on_min_max_info(hwnd, number, reinterpret_cast<MINMAXINFO*>(lparam));
        return 0;
    case WM_DPICHANGED:
        if (!own) break;
        return window_dpi_changed(hwnd, number, wparam, lparam);
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case GADGET_NOTIFY_MESSAGE: {
        LRESULT result = 0;
        if (gadget_forward_message(notifying_control(message, lparam), number, message, wparam, lparam, &result))
            return result;
        break;
    }
    case WM_COMMAND:
        return on_command(hwnd, number, wparam, lparam);
    case WM_TIMER:
        event_set_immediate(EVENT_TIMER, static_cast<ObjectNumber>(wparam), number, -1);
        return 0;
    case WM_LBUTTONUP:
        if (own) event_set_immediate_object_kept(EVENT_LEFT_CLICK, number, -1);
        break;
    case WM_LBUTTONDBLCLK:
        if (own) event_set_immediate_object_kept(EVENT_LEFT_DOUBLE_CLICK, number, -1);
        break;
    case WM_RBUTTONUP:
        if (own) event_set_immediate_object_kept(EVENT_RIGHT_CLICK, number, -1);
        break;
    case TRAY_ICON_MESSAGE:
        if (int subtype = tray_subtype(lparam); subtype >= 0) {
            event_post(EVENT_TRAY_ICON, static_cast<ObjectNumber>(wparam), number, subtype);
            PostMessageW(hwnd, WM_NULL, 0, 0);
        }
        return 0;
    case WINDOW_DROP_MESSAGE:
        event_set_immediate_data(EVENT_WINDOW_DROP, event_state().current.object, number, -1,
                                 reinterpret_cast<void*>(lparam), event_drop_release());
        return 0;
    case GADGET_DROP_MESSAGE:
        event_set_immediate_data(EVENT_GADGET_DROP, static_cast<ObjectNumber>(wparam), number, -1,
                                 reinterpret_cast<void*>(lparam), event_drop_release());
        return 0;
    case WM_NCDESTROY:
        RemovePropW(hwnd, FOCUS_PROPERTY);
        if (gadget_parent() == hwnd) gadget_parent_set(nullptr);
        release_undelivered_drops(hwnd);
        break;
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
}
