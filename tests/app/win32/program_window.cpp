// The main window under Windows: its title as the title bar shows it, drops
// through the list's registered OLE drop target as the shell makes them, and
// the close request a title bar's close button posts.
#include "tests/app/app_support.h"

#include <windows.h>
#include <ole2.h>

#include <algorithm>

#include "app/app_state.h"
#include "app/playlist.h"
#include "runtime/gui/event.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/toolbar.h"
#include "runtime/gui/window.h"
#include "tests/support/drop_blocks.h"
#include "tests/support/test_data_object.h"

namespace {

HWND main_window() { return reinterpret_cast<HWND>(window_handle(MAIN_WINDOW)); }

}  // namespace

std::wstring main_title() {
    int length = GetWindowTextLengthW(main_window());
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(main_window(), text.data(), length + 1)));
    return text;
}

void bring_main_window_to_front() { SetForegroundWindow(main_window()); }

bool drop_files(const std::vector<std::u16string>& paths, int over_row) {
    HWND list = reinterpret_cast<HWND>(gadget_handle(PLAYLIST_GADGET));
    auto* target = static_cast<IDropTarget*>(GetPropW(list, L"QX_DropAccept"));
    if (!target) return false;
    POINT at{30, 10};
    int count = gadget_item_count(PLAYLIST_GADGET);
    RECT rect{};
    if (over_row >= 0) {
        SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(over_row), reinterpret_cast<LPARAM>(&rect));
        at.y = (rect.top + rect.bottom) / 2;
    } else if (count > 0) {
        SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(count - 1), reinterpret_cast<LPARAM>(&rect));
        RECT client{};
        GetClientRect(list, &client);
        at.y = std::min<LONG>(rect.bottom + 10, client.bottom - 2);
    }
    ClientToScreen(list, &at);
    POINTL point{at.x, at.y};
    TestDataObject data;
    data.add(CF_HDROP, wide_file_list(paths));
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    target->DragEnter(&data, MK_LBUTTON, point, &effect);
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    target->DragOver(MK_LBUTTON, point, &effect);
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    target->Drop(&data, 0, point, &effect);
    if (!wait_for_event(EVENT_GADGET_DROP)) return false;
    HandleFileDrop();
    return true;
}

bool close_request() {
    PostMessageW(main_window(), WM_CLOSE, 0, 0);
    return wait_for_event(EVENT_CLOSE_WINDOW);
}

void focus_playlist() { SetFocus(reinterpret_cast<HWND>(gadget_handle(PLAYLIST_GADGET))); }

void focus_toolbar() {
    HWND toolbar = reinterpret_cast<HWND>(toolbar_handle(MAIN_TOOLBAR));
    SetFocus(toolbar);
    ASSERT_EQ(GetFocus(), toolbar);
}
