// Tab and Shift+Tab in runtime windows, and the windows' shortcuts: an
// accelerator table per window turns them into commands; the window procedure
// moves the focus for the first two and makes the others menu events.
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <cwchar>
#include <mutex>
#include <vector>

#include "runtime/gui/win32/window_record.h"

namespace {

bool has_class(HWND hwnd, const wchar_t* prefix) {
    wchar_t name[64];
    if (!GetClassNameW(hwnd, name, 64)) return false;
    return _wcsnicmp(name, prefix, std::wcslen(prefix)) == 0;
}

bool modifier_down() {
    return GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0;
}

// A rich-text editor takes a plain Tab as text.
bool tab_goes_to_editor(HWND focus, const MSG& message) {
    if (message.message != WM_KEYDOWN || message.wParam != VK_TAB || modifier_down()) return false;
    return focus && has_class(focus, L"RichEdit") && !(GetWindowLongPtrW(focus, GWL_STYLE) & ES_READONLY);
}

bool is_tab_stop(HWND hwnd) {
    return (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_TABSTOP) && IsWindowEnabled(hwnd) && IsWindowVisible(hwnd);
}

BOOL CALLBACK collect_tab_stop(HWND hwnd, LPARAM list) {
    if (is_tab_stop(hwnd)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
    return TRUE;
}

}  // namespace

HACCEL focus_keys_create(const ShortcutTable& shortcuts) {
    std::vector<ACCEL> keys{
        {FVIRTKEY | FNOINVERT, VK_TAB, FOCUS_NEXT_COMMAND},
        {FVIRTKEY | FNOINVERT | FSHIFT, VK_TAB, FOCUS_PREVIOUS_COMMAND},
    };
    // The runtime's key numbers are the virtual keys themselves.
    for (int i = 0; i < shortcuts.count; ++i) {
        const Shortcut& shortcut = shortcuts.entries[i];
        BYTE flags = FVIRTKEY | FNOINVERT;
        if (shortcut.modifiers & KEY_SHIFT) flags |= FSHIFT;
        if (shortcut.modifiers & KEY_CONTROL) flags |= FCONTROL;
        if (shortcut.modifiers & KEY_ALT) flags |= FALT;
        keys.push_back({flags, shortcut.key, static_cast<WORD>(FIRST_SHORTCUT_COMMAND + i)});
    }
    return CreateAcceleratorTableW(keys.data(), static_cast<int>(keys.size()));
}

// The table is made anew with the shortcut in it; the old one goes once the
// record holds the new one.
bool window_shortcut_native_add(ObjectNumber number, Shortcut shortcut) {
    HACCEL old_table;
    {
        std::lock_guard guard(window_table().lock());
        WindowRecord* record = window_table().find(number);
        if (!record) return false;
        ShortcutTable shortcuts = record->shortcuts;
        if (!shortcut_table_put(shortcuts, shortcut)) return false;
        HACCEL table = focus_keys_create(shortcuts);
        if (!table) return false;
        old_table = record->accelerators;
        record->accelerators = table;
        record->shortcuts = shortcuts;
    }
    if (old_table) DestroyAcceleratorTable(old_table);
    return true;
}

void focus_move(HWND window, bool forward) {
    std::vector<HWND> stops;
    EnumChildWindows(window, collect_tab_stop, reinterpret_cast<LPARAM>(&stops));
    if (stops.empty()) return;
    const HWND focus = GetFocus();
    const int count = static_cast<int>(stops.size());
    int at = -1;
    for (int i = 0; i < count; ++i)
        if (stops[i] == focus || IsChild(stops[i], focus)) at = i;
    int next;
    if (at < 0) next = forward ? 0 : count - 1;
    else next = (at + (forward ? 1 : count - 1)) % count;
    SetFocus(stops[next]);
}

bool focus_keys_translate(MSG& message) {
    // Only key messages can be focus keys; the reads below are requests to the
    // window server, too many to make for every message.
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN && message.message != WM_CHAR &&
        message.message != WM_SYSCHAR)
        return false;
    const HWND active = GetActiveWindow();
    HACCEL table = nullptr;
    {
        std::lock_guard guard(window_table().lock());
        if (WindowRecord* record = window_record_of(active)) table = record->accelerators;
    }
    if (!table) return false;
    const HWND focus = GetFocus();
    if ((focus && has_class(focus, HOTKEY_CLASSW)) || tab_goes_to_editor(focus, message)) return false;
    if ((message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) && modifier_down())
        SendMessageW(active, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
    return TranslateAcceleratorW(active, table, &message) != 0;
}

int shortcut_command_of(HWND window, WORD id) {
    std::lock_guard guard(window_table().lock());
    const WindowRecord* record = window_record_of(window);
    const int place = id - FIRST_SHORTCUT_COMMAND;
    if (!record || place < 0 || place >= record->shortcuts.count) return -1;
    return record->shortcuts.entries[place].command;
}
