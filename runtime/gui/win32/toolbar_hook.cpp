// The window procedure put in front of every window that receives a toolbar:
// the toolbar follows the window's width, a right-click never leaves a button
// looking pressed or the mouse captured, and the toolbar dies with its window.
#include <windows.h>
#include <commctrl.h>

#include "runtime/gui/toolbar.h"
#include "runtime/gui/win32/toolbar_win32.h"

namespace {

constexpr ObjectNumber NO_TOOLBAR = -1;

HWND toolbar_window(ObjectNumber number) {
    ObjectTable<ToolbarRecord>* table = toolbar_table();
    ToolbarRecord* record = table ? table->find(number) : nullptr;
    return record ? record->toolbar : nullptr;
}

// A right button press can leave the pressed look and the capture behind.
void release_pressed_buttons(HWND toolbar) {
    auto count = static_cast<int>(SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0));
    for (int index = count - 1; index >= 0; --index) {
        TBBUTTON button{};
        if (!SendMessageW(toolbar, TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button)))
            continue;
        SendMessageW(toolbar, TB_SETSTATE, static_cast<WPARAM>(button.idCommand),
                     MAKELPARAM(button.fsState & ~TBSTATE_PRESSED, 0));
    }
    if (GetCapture() == toolbar) ReleaseCapture();
}

}  // namespace

void toolbar_hook_parent(HWND parent) {
    if (GetPropW(parent, TOOLBAR_CALLBACK_PROPERTY)) return;
    LONG_PTR previous = SetWindowLongPtrW(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(toolbar_window_hook));
    if (previous) SetPropW(parent, TOOLBAR_CALLBACK_PROPERTY, reinterpret_cast<HANDLE>(previous));
}

LRESULT CALLBACK toolbar_window_hook(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    // A list clearing 100,000 rows tells the window of each: answered here as
    // the window itself answers it, without the request for the procedure behind.
    if (message == WM_DELETEITEM) return TRUE;
    auto previous = reinterpret_cast<WNDPROC>(GetPropW(hwnd, TOOLBAR_CALLBACK_PROPERTY));
    // The toolbar's number is read only for the two messages that concern it:
    // each read is a request to the window server.
    const auto* header = message == WM_NOTIFY ? reinterpret_cast<const NMHDR*>(lparam) : nullptr;
    const bool right_click = header && header->code == static_cast<UINT>(NM_RCLICK);
    if (message == WM_SIZE || right_click) {
        auto id = reinterpret_cast<ObjectNumber>(GetPropW(hwnd, TOOLBAR_ID_PROPERTY));
        HWND toolbar = id != NO_TOOLBAR ? toolbar_window(id) : nullptr;
        if (toolbar && message == WM_SIZE) SendMessageW(toolbar, TB_AUTOSIZE, 0, 0);
        if (toolbar && right_click && header->hwndFrom == toolbar) release_pressed_buttons(toolbar);
    }
    if (message == WM_NCDESTROY) {
        // The window's children, its toolbars among them, are gone by now.
        toolbar_free_orphans();
        RemovePropW(hwnd, TOOLBAR_ID_PROPERTY);
        RemovePropW(hwnd, TOOLBAR_CALLBACK_PROPERTY);
    }
    return previous ? CallWindowProcW(previous, hwnd, message, wparam, lparam)
                    : DefWindowProcW(hwnd, message, wparam, lparam);
}
