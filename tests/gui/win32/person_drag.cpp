// The dragging person under Windows: a file manager's data object with the
// files as a file list, handed to the list's registered drop target with the
// calls the system's drag loop makes (enter, over, then drop, or leave when
// refused), on the list's own thread. During a requester a thread timer,
// which the requester's modal loop runs, does it and then presses OK.
#include "tests/gui/person_drag.h"

#include <windows.h>
#include <ole2.h>

#include <string>

#include "runtime/gui/gadget.h"
#include "tests/gui/drop_blocks.h"
#include "tests/gui/test_data_object.h"

struct DragDuringRequester::Watch {
    ObjectNumber list;
    int row;
    std::vector<std::filesystem::path> files;
    UINT_PTR timer = 0;
    bool done = false;
};

namespace {

DragDuringRequester::Watch* watching = nullptr;

BOOL CALLBACK find_dialog(HWND hwnd, LPARAM found) {
    wchar_t name[8] = {};
    if (GetClassNameW(hwnd, name, 8) > 0 && lstrcmpW(name, L"#32770") == 0 && IsWindowVisible(hwnd)) {
        *reinterpret_cast<HWND*>(found) = hwnd;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK on_timer(HWND, UINT, UINT_PTR, DWORD) {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), find_dialog, reinterpret_cast<LPARAM>(&dialog));
    if (!watching || !dialog) return;
    KillTimer(nullptr, watching->timer);
    drag_files_onto_row(watching->list, watching->row, watching->files);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    watching->done = true;
}

}  // namespace

void drag_files_onto_row(ObjectNumber list, int row, const std::vector<std::filesystem::path>& files) {
    HWND control = reinterpret_cast<HWND>(gadget_handle(list));
    auto* target = static_cast<IDropTarget*>(GetPropW(control, L"QX_DropAccept"));
    if (!target) return;
    std::vector<std::u16string> names;
    for (const std::filesystem::path& file : files) names.push_back(file.u16string());
    TestDataObject data;
    data.add(CF_HDROP, wide_file_list(names));
    RECT rect{};
    SendMessageW(control, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
    POINT point{rect.left + 20, (rect.top + rect.bottom) / 2};
    ClientToScreen(control, &point);
    const POINTL screen{point.x, point.y};
    constexpr DWORD OFFERED = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    DWORD effect = OFFERED;
    target->DragEnter(&data, MK_LBUTTON, screen, &effect);
    effect = OFFERED;
    target->DragOver(MK_LBUTTON, screen, &effect);
    if (!effect) {
        target->DragLeave();
        return;
    }
    effect = OFFERED;
    target->Drop(&data, 0, screen, &effect);
}

DragDuringRequester::DragDuringRequester(ObjectNumber list, int row, std::vector<std::filesystem::path> files)
    : watch_(new Watch{list, row, std::move(files)}) {
    watching = watch_.get();
    watch_->timer = SetTimer(nullptr, 0, 50, on_timer);
}

DragDuringRequester::~DragDuringRequester() {
    if (!watch_->done) KillTimer(nullptr, watch_->timer);
    watching = nullptr;
}

bool DragDuringRequester::done() const { return watch_->done; }
