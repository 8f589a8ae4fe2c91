// Win32 gadgets: the gadget table, creation and registration, the gadget
// procedure that cleans up when a control is destroyed, the forwarding of
// control notifications to their kind, and what the generic operations
// (runtime/gui/gadget_operations.cpp) need of this back end.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <mutex>
#include <optional>
#include <utility>
#include <vector>

#include "runtime/gui/event.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/window_scale.h"
#include "runtime/gui/win32/gadget_record.h"
#include "runtime/gui/win32/gui_win32.h"
#include "runtime/gui/win32/window_dpi.h"

namespace {

// The common-control classes the runtime's requesters and toolbars expect,
// plus the bar classes, which hold the slider.
constexpr DWORD COMMON_CONTROL_CLASSES = 0xB48 | ICC_BAR_CLASSES;

ObjectTable<GadgetRecord> gadgets(50, nullptr);
HFONT gadget_font = nullptr;  // the system's, at its density
// The same font made for other densities, one per density met. Controls use
// them until they go, so they stay for the process, which frees them.
std::mutex density_fonts_lock;
std::vector<std::pair<int, HFONT>> density_fonts;

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

// Text drawn by the system at the window's density: the system's font at its
// own, the same font scaled for any other.
HFONT gadget_font_for(int dpi) {
    const int system = system_dpi();
    if (dpi == system || !gadget_font) return gadget_font;
    std::lock_guard guard(density_fonts_lock);
    for (const auto& [density, font] : density_fonts)
        if (density == dpi) return font;
    LOGFONTW face{};
    if (!GetObjectW(gadget_font, sizeof face, &face)) return gadget_font;
    face.lfHeight = scale_to_pixels(scale_to_units(face.lfHeight, system), dpi);
    face.lfWidth = 0;
    HFONT font = CreateFontIndirectW(&face);
    if (!font) return gadget_font;
    density_fonts.emplace_back(dpi, font);
    return font;
}

struct Pixels {
    int x, y, width, height;
};

Pixels pixels_of(int x, int y, int width, int height, int dpi) {
    return {scale_to_pixels(x, dpi), scale_to_pixels(y, dpi), scale_to_pixels(width, dpi),
            scale_to_pixels(height, dpi)};
}

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
    const HWND parent = gadget_parent();
    const int dpi = layout_dpi(parent);
    const Pixels at = pixels_of(x, y, width, height, dpi);
    HWND handle = CreateWindowExW(ex_style, class_name, L"", style, at.x, at.y, at.width, at.height, parent,
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
        gadget->thread = GetCurrentThreadId();
        gadget->handle = handle;
        SetWindowLongPtrW(handle, GWLP_ID, id);
        SetPropW(handle, GADGET_ID_PROPERTY, reinterpret_cast<HANDLE>(id));
    }
    SendMessageW(handle, WM_SETFONT, reinterpret_cast<WPARAM>(gadget_font_for(dpi)), TRUE);
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
    const HWND parent = GetParent(gadget.handle);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    const int dpi = layout_dpi(parent);
    return {scale_to_units(rect.left, dpi), scale_to_units(rect.top, dpi), scale_to_units(rect.right - rect.left, dpi),
            scale_to_units(rect.bottom - rect.top, dpi)};
}

void gadget_native_move(GadgetRecord& gadget, int x, int y, int width, int height) {
    const Pixels at = pixels_of(x, y, width, height, layout_dpi(GetParent(gadget.handle)));
    MoveWindow(gadget.handle, at.x, at.y, at.width, at.height, TRUE);
}

void gadget_dpi_changed(HWND control, int dpi) {
    bool is_list;
    {
        std::lock_guard guard(gadgets.lock());
        GadgetRecord* gadget = gadgets.find(static_cast<ObjectNumber>(GetWindowLongPtrW(control, GWLP_ID)));
        if (!gadget || gadget->handle != control) return;
        is_list = gadget->kind->kind == GADGET_KIND_LIST;
    }
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(gadget_font_for(dpi)), TRUE);
    if (is_list) list_fit_rows_to_font(control);
}
