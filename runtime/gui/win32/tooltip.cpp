// Tool tips for gadgets: one "tooltips_class32" window per thread, made on
// first use; each gadget is one tool, identified by its control's handle.
#include <windows.h>
#include <commctrl.h>

#include "runtime/gui/gadget.h"
#include "runtime/gui/win32/gadget_record.h"

namespace {

thread_local HWND tooltip_window = nullptr;

// The tool record as every common-controls version accepts it.
TOOLINFOW tool_of(HWND control) {
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    return tool;
}

}  // namespace

void gadget_tooltip(ObjectNumber number, const char16_t* text) {
    auto control = reinterpret_cast<HWND>(gadget_handle(number));
    if (!control) return;
    if (!tooltip_window) {
        tooltip_window = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                         WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                                         CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                         GetModuleHandleW(nullptr), nullptr);
        if (!tooltip_window) return;
    }
    TOOLINFOW tool = tool_of(control);
    SendMessageW(tooltip_window, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    static wchar_t empty[] = L"";
    tool.lpszText = text ? reinterpret_cast<wchar_t*>(const_cast<char16_t*>(text)) : empty;
    SendMessageW(tooltip_window, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void gadget_tooltip_forget(HWND control) {
    if (!tooltip_window) return;
    TOOLINFOW tool = tool_of(control);
    SendMessageW(tooltip_window, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void gadget_end() {
    if (tooltip_window) DestroyWindow(tooltip_window);
    tooltip_window = nullptr;
}
