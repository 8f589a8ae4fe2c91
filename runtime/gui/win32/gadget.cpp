// Win32 gadgets: the gadget table, creation and registration, the gadget
// procedure that cleans up when a control is destroyed, the forwarding of
// control notifications to their kind, and what the generic operations
// (runtime/gui/gadget_operations.cpp) need of this back end.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <mutex>
#include <optional>

#include "runtime/gui/event.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/win32/gadget_record.h"
#include "runtime/gui/win32/gui_win32.h"

namespace {

// The common-control classes the runtime's requesters and toolbars expect,
// plus the bar classes, which hold the slider.
constexpr DWORD COMMON_CONTROL_CLASSES = 0xB48 | ICC_BAR_CLASSES;

ObjectTable<GadgetRecord> gadgets(50, nullptr);
HFONT gadget_font = nullptr;

// Drops what the runtime keeps for a control that is going away.
void forget_gadget(ObjectNumber number, HWND handle) {
    GadgetRecord* gadget = gadgets.find(number);
    if (!gadget || gadget->handle != handle) return;
    const GadgetNative* native = gadget->kind->native;
    if (native && native->release) native->release(*gadget);
    gadget_tooltip_forget(handle);
    RemovePropW(handle, GADGET_ID_PROPERTY);
    if (GetPropW(handle, DROP_ACCEPT_PROPERTY)) {
        RevokeDragDrop(handle);
        RemovePropW(handle, DROP_ACCEPT_PROPERTY);
    }
    SetWindowLongPtrW(handle, GWLP_ID, -1);
    event_purge_gadget(EVENT_GADGET, number);
    gadgets.release(number);
}

// Reusing a number destroys its control; the gadget procedure then forgets it.
// A control of another thread cannot be destroyed from here: its record is
// dropped all the same, so the number is free again. No table lock may be
// held: destruction sends messages to the control and its window, whose
// handlers take the gadget and window tables' locks.
void destroy_gadget(ObjectNumber number, const GadgetRecord& old) {
    if (!DestroyWindow(old.handle)) {
        SetWindowLongPtrW(old.handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old.previous_proc));
        forget_gadget(number, old.handle);
    }
}

GadgetRecord* find_gadget(ObjectNumber number) { return gadgets.find(number); }

}  // namespace

ObjectNumber gadget_number_of(const GadgetRecord& gadget) {
    return static_cast<ObjectNumber>(GetWindowLongPtrW(gadget.handle, GWLP_ID));
}

std::intptr_t gadget_creation_result(ObjectNumber requested, const GadgetRecord& gadget) {
    if (requested == DYNAMIC_ID) return gadget_number_of(gadget);
    return reinterpret_cast<std::intptr_t>(gadget.handle);
}

// The control is made and an old one destroyed without the table lock (see
// destroy_gadget); its number stays reserved meanwhile.
GadgetRecord* gadget_create(ObjectNumber number, const GadgetKind& kind, const wchar_t* class_name,
                            DWORD ex_style, DWORD style, int x, int y, int width, int height) {
    ObjectNumber id;
    GadgetRecord old{};
    {
        std::lock_guard guard(gadgets.lock());
        const std::optional<ObjectNumber> reserved = gadgets.reserve(number);
        if (!reserved) return nullptr;  // being made on another thread
        id = *reserved;
        if (GadgetRecord* live = gadgets.find(id)) old = *live;
    }
    if (old.handle) destroy_gadget(id, old);
    HWND handle = CreateWindowExW(ex_style, class_name, L"", style, x, y, width, height, gadget_parent(),
                                  reinterpret_cast<HMENU>(id), GetModuleHandleW(nullptr), nullptr);
    GadgetRecord* gadget;
    {
        std::lock_guard guard(gadgets.lock());
        if (!handle) {
            gadgets.cancel(id);
            return nullptr;
        }
        gadget = gadgets.fulfil(id);
        gadget->kind = &kind;
        gadget->back_colour = -1;
        gadget->front_colour = -1;
        gadget->previous_proc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gadget_procedure)));
        gadget->handle = handle;
        SetWindowLongPtrW(handle, GWLP_ID, id);
        SetPropW(handle, GADGET_ID_PROPERTY, reinterpret_cast<HANDLE>(id));
    }
    SendMessageW(handle, WM_SETFONT, reinterpret_cast<WPARAM>(gadget_font), TRUE);
    return gadget;
}

LRESULT CALLBACK gadget_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    auto number = static_cast<ObjectNumber>(GetWindowLongPtrW(hwnd, GWLP_ID));
    GadgetRecord* gadget = find_gadget(number);
    if (!gadget || gadget->handle != hwnd) return DefWindowProcW(hwnd, message, wparam, lparam);
    LRESULT result = CallWindowProcW(gadget->previous_proc, hwnd, message, wparam, lparam);
    if (message == WM_NCDESTROY) forget_gadget(number, hwnd);
    return result;
}

bool gadget_forward_message(HWND control, ObjectNumber window, UINT message, WPARAM wparam,
                            LPARAM lparam, LRESULT* result) {
    if (!control) return false;
    auto number = static_cast<ObjectNumber>(GetWindowLongPtrW(control, GWLP_ID));
    std::lock_guard guard(gadgets.lock());
    GadgetRecord* gadget = gadgets.find(number);
    if (!gadget || gadget->handle != control) return false;
    if (reinterpret_cast<ObjectNumber>(GetPropW(control, GADGET_ID_PROPERTY)) != number) return false;
    const GadgetNative* native = gadget->kind->native;
    if (!native || !native->event_handler) return false;
    return native->event_handler(*gadget, window, message, wparam, lparam, result);
}

bool gadget_init() {
    gadget_font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    INITCOMMONCONTROLSEX classes{sizeof(classes), COMMON_CONTROL_CLASSES};
    return InitCommonControlsEx(&classes) != FALSE;
}

std::intptr_t gadget_handle(ObjectNumber number) {
    GadgetRecord* gadget = find_gadget(number);
    return gadget ? reinterpret_cast<std::intptr_t>(gadget->handle) : 0;
}

void gadget_redraw(ObjectNumber number, int enabled) {
    HWND control = reinterpret_cast<HWND>(gadget_handle(number));
    if (!control) return;
    SendMessageW(control, WM_SETREDRAW, enabled ? TRUE : FALSE, 0);
    if (enabled) RedrawWindow(control, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

std::recursive_mutex& gadget_table_lock() { return gadgets.lock(); }

const GadgetKind* gadget_lookup(ObjectNumber number, GadgetRecord** gadget) {
    *gadget = find_gadget(number);
    return *gadget ? (*gadget)->kind : nullptr;
}

GadgetPlace gadget_native_place(GadgetRecord& gadget) {
    RECT rect{};
    GetWindowRect(gadget.handle, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(gadget.handle), reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

void gadget_native_move(GadgetRecord& gadget, int x, int y, int width, int height) {
    MoveWindow(gadget.handle, x, y, width, height, TRUE);
}
