#include "tests/scenario/toolbar_probe.h"

#include <commctrl.h>

#include "tests/scenario/desktop.h"

namespace {

constexpr SIZE_T TEXT_CHARS = 512;

// Hidden ones too: a tooltip shows only while the pointer rests on a tool.
std::vector<HWND> tooltip_windows(DWORD process_id) {
    std::vector<HWND> found;
    for (HWND hwnd : process_windows(process_id))
        if (class_name(hwnd) == TOOLTIPS_CLASSW) found.push_back(hwnd);
    return found;
}

// The tools of one tooltip window that belong to the toolbar. The record and
// its text buffer both live in the tooltip's process: the control copies the
// text into the buffer the record points at.
void read_tools(HANDLE process, HWND tooltip, HWND toolbar, std::map<UINT_PTR, ToolTip>& tips) {
    RemoteBuffer buffer(process, sizeof(TOOLINFOW) + TEXT_CHARS * sizeof(wchar_t));
    if (!buffer.ok()) return;
    auto* remote_text = reinterpret_cast<wchar_t*>(buffer.address() + sizeof(TOOLINFOW));
    DWORD_PTR count = 0;
    SendMessageTimeoutW(tooltip, TTM_GETTOOLCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count);
    for (DWORD_PTR index = 0; index < count; ++index) {
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.lpszText = remote_text;
        wchar_t empty[TEXT_CHARS] = {};
        DWORD_PTR found = 0;
        if (!buffer.write(&tool, sizeof tool) || !buffer.write(empty, sizeof empty, sizeof(TOOLINFOW)) ||
            !SendMessageTimeoutW(tooltip, TTM_ENUMTOOLSW, index, buffer.address(), SMTO_ABORTIFHUNG, 5000, &found) ||
            !found || !buffer.read(&tool, sizeof tool))
            continue;
        if (tool.hwnd != toolbar || tool.lpszText != remote_text) continue;
        wchar_t text[TEXT_CHARS] = {};
        buffer.read(text, sizeof text, sizeof(TOOLINFOW));
        text[TEXT_CHARS - 1] = 0;
        tips[tool.uId] = {text, tool.rect};
    }
}

}  // namespace

HWND find_toolbar(HWND main_window) { return FindWindowExW(main_window, nullptr, TOOLBARCLASSNAMEW, nullptr); }

std::vector<ToolbarPlace> read_toolbar(HANDLE process, HWND toolbar) {
    std::vector<ToolbarPlace> places;
    DWORD_PTR count = 0;
    if (!SendMessageTimeoutW(toolbar, TB_BUTTONCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count)) return places;
    for (DWORD_PTR index = 0; index < count; ++index) {
        TBBUTTON button{};
        if (!send_with_remote(process, toolbar, TB_GETBUTTON, index, button)) break;
        ToolbarPlace place;
        place.id = button.idCommand;
        place.separator = (button.fsStyle & BTNS_SEP) != 0;
        DWORD_PTR image = 0;
        if (!place.separator &&
            SendMessageTimeoutW(toolbar, TB_GETBITMAP, static_cast<WPARAM>(place.id), 0, SMTO_ABORTIFHUNG, 5000,
                                &image))
            place.image = static_cast<int>(image);
        send_with_remote(process, toolbar, TB_GETITEMRECT, index, place.rect);
        places.push_back(place);
    }
    return places;
}

std::map<UINT_PTR, ToolTip> read_toolbar_tooltips(HANDLE process, DWORD process_id, HWND toolbar) {
    std::map<UINT_PTR, ToolTip> tips;
    for (HWND tooltip : tooltip_windows(process_id)) read_tools(process, tooltip, toolbar, tips);
    return tips;
}
