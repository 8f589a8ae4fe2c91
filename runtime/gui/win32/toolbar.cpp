// Win32 toolbars: the toolbar table, creation on a parent window and freeing,
// and the native steps of the toolbar operations (toolbar_operations.cpp):
// image buttons, separators, tooltips, checked states, height. The parent hook
// lives in toolbar_hook.cpp, button masks in toolbar_mask.cpp.
#include <windows.h>
#include <commctrl.h>

#include <mutex>
#include <optional>
#include <vector>

#include "runtime/gui/toolbar.h"
#include "runtime/gui/toolbar_native.h"
#include "runtime/gui/window_scale.h"
#include "runtime/gui/win32/toolbar_win32.h"
#include "runtime/gui/win32/window_dpi.h"

namespace {

constexpr int TABLE_STEP = 16;
constexpr DWORD TOOLBAR_STYLE = WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS;
constexpr DWORD TOOLTIP_STYLE = WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX;
constexpr UINT_PTR STANDARD_BITMAP_ID = 2;
constexpr ObjectNumber NO_TOOLBAR = -1;  // a parent without a toolbar

std::optional<ObjectTable<ToolbarRecord>> toolbars;

// The toolbar's image list; one is made when the toolbar has none, so that
// buttons always have a list to add their images to.
void prepare_image_list(ToolbarRecord* record) {
    auto list = reinterpret_cast<HIMAGELIST>(SendMessageW(record->toolbar, TB_GETIMAGELIST, 0, 0));
    if (!list) {
        list = toolbar_image_list_create(record->dpi);
        record->own_image_list = list;
    }
    if (list) ImageList_ReplaceIcon(list, -1, LoadIconW(nullptr, IDI_APPLICATION));
    SendMessageW(record->toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list));
    TBADDBITMAP standard{HINST_COMMCTRL, STANDARD_BITMAP_ID};
    SendMessageW(record->toolbar, TB_ADDBITMAP, 1, reinterpret_cast<LPARAM>(&standard));
}

// Topmost from its creation: a later SetWindowPos costs a second trip to the window server.
HWND create_tooltip(HWND toolbar) {
    return CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, TOOLTIP_STYLE, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, toolbar, nullptr, GetModuleHandleW(nullptr), nullptr);
}

// Destroys a toolbar already taken out of the table, its number still
// reserved. No table lock may be held: destruction sends messages to the
// toolbar's window, whose handlers take the window and toolbar tables' locks.
void destroy_toolbar(ObjectNumber number, const ToolbarRecord& gone) {
    if (IsWindow(gone.toolbar)) {
        // The parent forgets this toolbar only if it is the one it names: a
        // newer toolbar on the same window keeps its resizing and clean-up.
        HWND parent = GetParent(gone.toolbar);
        if (parent && GetPropW(parent, TOOLBAR_ID_PROPERTY) == reinterpret_cast<HANDLE>(number))
            SetPropW(parent, TOOLBAR_ID_PROPERTY, reinterpret_cast<HANDLE>(NO_TOOLBAR));
        DestroyWindow(gone.toolbar);
    }
    if (gone.tooltip) DestroyWindow(gone.tooltip);
    if (gone.own_image_list) ImageList_Destroy(gone.own_image_list);
    toolbar_pictures_free(gone.pictures);
}

// Takes the live toolbar under a reserved number out of the table; its record
// becomes free. Under the table lock.
bool take_toolbar(ObjectNumber number, ToolbarRecord* taken) {
    ToolbarRecord* record = toolbars->find(number);
    if (!record) return false;
    *taken = *record;
    *record = ToolbarRecord{};
    return true;
}

int add_button(HWND toolbar, int image_index, int command, BYTE style) {
    TBBUTTON button{};
    button.iBitmap = image_index;
    button.idCommand = command;
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = style;
    return static_cast<int>(SendMessageW(toolbar, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&button)));
}

// A question to the toolbar. Once its tooltip has tools (TTF_SUBCLASS), every
// message sent to the toolbar passes the tooltip's subclass, which reads a
// window property (a request to the window server) several times; a question
// from the toolbar's own thread goes straight to its class procedure.
LRESULT ask(HWND toolbar, UINT message, WPARAM wparam, LPARAM lparam) {
    if (GetWindowThreadProcessId(toolbar, nullptr) != GetCurrentThreadId())
        return SendMessageW(toolbar, message, wparam, lparam);
    auto procedure = reinterpret_cast<WNDPROC>(GetClassLongPtrW(toolbar, GCLP_WNDPROC));
    return CallWindowProcW(procedure, toolbar, message, wparam, lparam);
}

}  // namespace

ObjectTable<ToolbarRecord>* toolbar_table() { return toolbars ? &*toolbars : nullptr; }

bool toolbar_init() {
    if (!toolbars) toolbars.emplace(TABLE_STEP, nullptr);
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_BAR_CLASSES};
    return InitCommonControlsEx(&classes);
}

// The toolbar is made and an old one destroyed without the table lock (see
// destroy_toolbar); its number stays reserved meanwhile.
std::intptr_t toolbar_create(ObjectNumber number, std::intptr_t parent_window) {
    if (!toolbars) return 0;
    ObjectNumber id;
    ToolbarRecord old{};
    bool replacing;
    {
        std::lock_guard guard(toolbars->lock());
        toolbar_make_current(number);
        const std::optional<ObjectNumber> reserved = toolbars->reserve(number);
        if (!reserved) return 0;  // being made or freed on another thread
        id = *reserved;
        if (number == DYNAMIC_ID) toolbar_make_current(id);
        replacing = take_toolbar(id, &old);
    }
    if (replacing) destroy_toolbar(id, old);

    auto parent = reinterpret_cast<HWND>(parent_window);
    HWND toolbar = CreateToolbarEx(parent, TOOLBAR_STYLE, static_cast<UINT>(TOOLBAR_CONTROL_ID), 0, nullptr, 0,
                                   nullptr, 0, 0, 0, 0, 0, sizeof(TBBUTTON));
    if (!toolbar) {
        std::lock_guard guard(toolbars->lock());
        toolbars->cancel(id);
        return 0;
    }
    // CreateToolbarEx takes the identifier as UINT, which a 64-bit build widens
    // without sign; stored sign-extended, GWLP_ID reads -10000 as GetDlgCtrlID does.
    SetWindowLongPtrW(toolbar, GWLP_ID, static_cast<LONG_PTR>(TOOLBAR_CONTROL_ID));
    ToolbarRecord made{toolbar, create_tooltip(toolbar), nullptr, nullptr, layout_dpi(parent)};
    prepare_image_list(&made);
    {
        std::lock_guard guard(toolbars->lock());
        *toolbars->fulfil(id) = made;
    }
    toolbar_hook_parent(parent);
    SetPropW(parent, TOOLBAR_ID_PROPERTY, reinterpret_cast<HANDLE>(id));
    return number == DYNAMIC_ID ? id : reinterpret_cast<std::intptr_t>(toolbar);
}

std::recursive_mutex* toolbar_table_lock() { return toolbars ? &toolbars->lock() : nullptr; }

ToolbarRecord* toolbar_lookup(ObjectNumber number) { return toolbars->find(number); }

int toolbar_native_image_button(ToolbarRecord& record, int button_id, std::intptr_t image, bool toggle) {
    auto list = reinterpret_cast<HIMAGELIST>(SendMessageW(record.toolbar, TB_GETIMAGELIST, 0, 0));
    int index = toolbar_picture_add(record, list, image);
    // The toolbar measures its buttons from the list it was handed last.
    SendMessageW(record.toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list));
    if (record.dpi != UNIT_DPI) toolbar_padding_set(record.toolbar, record.dpi);
    return add_button(record.toolbar, index, button_id, toggle ? BTNS_CHECK : BTNS_BUTTON);
}

void toolbar_native_separator(ToolbarRecord& record) { add_button(record.toolbar, 0, -1, BTNS_SEP); }

int toolbar_native_tooltip(ToolbarRecord& record, int button_id, const char16_t* text) {
    auto index = ask(record.toolbar, TB_COMMANDTOINDEX, static_cast<WPARAM>(button_id), 0);
    if (index < 0) return 0;
    TOOLINFOW tool{};
    // The first version's size: later versions' fields are refused by older controls.
    tool.cbSize = TTTOOLINFOW_V1_SIZE;
    tool.uFlags = TTF_SUBCLASS;  // the tooltip watches the toolbar's mouse messages itself
    tool.hwnd = record.toolbar;
    tool.uId = static_cast<UINT_PTR>(index);  // the position, not the button id
    ask(record.toolbar, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&tool.rect));
    tool.lpszText = const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(text));
    SendMessageW(record.tooltip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    return SendMessageW(record.tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)) ? 1 : 0;
}

void toolbar_native_check(ToolbarRecord& record, int button_id, bool checked) {
    SendMessageW(record.toolbar, TB_CHECKBUTTON, static_cast<WPARAM>(button_id), MAKELPARAM(checked ? 1 : 0, 0));
}

int toolbar_native_height(ToolbarRecord& record) {
    RECT rect{};
    if (!GetWindowRect(record.toolbar, &rect)) return 0;
    return scale_to_units(rect.bottom - rect.top, record.dpi);
}

std::intptr_t toolbar_native_handle(ToolbarRecord& record) { return reinterpret_cast<std::intptr_t>(record.toolbar); }

void toolbar_free(ObjectNumber number) {
    if (!toolbars) return;
    if (number == -1) {
        std::vector<ObjectNumber> live;
        toolbars->for_each_live([&](ObjectNumber each, const ToolbarRecord&) { live.push_back(each); });
        for (ObjectNumber each : live) toolbar_free(each);
        return;
    }
    ToolbarRecord gone;
    {
        std::lock_guard guard(toolbars->lock());
        // A number another thread is making or freeing is left to it.
        if (!toolbars->find(number) || !toolbars->reserve(number)) return;
        take_toolbar(number, &gone);
    }
    destroy_toolbar(number, gone);
    std::lock_guard guard(toolbars->lock());
    toolbars->cancel(number);
}

void toolbar_free_orphans() {
    if (!toolbars) return;
    std::vector<ObjectNumber> orphans;
    toolbars->for_each_live([&](ObjectNumber number, const ToolbarRecord& record) {
        if (!IsWindow(record.toolbar)) orphans.push_back(number);
    });
    for (ObjectNumber number : orphans) toolbar_free(number);
}
