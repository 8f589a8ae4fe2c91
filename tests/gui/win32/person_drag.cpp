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
#include "runtime/gui/window.h"
#include "tests/support/drop_blocks.h"
#include "tests/support/test_data_object.h"
#include "tests/support/win32_dialogs.h"

struct DragDuringRequester::Watch {
    ObjectNumber list;
    int row;
    std::vector<std::filesystem::path> files;
    UINT_PTR timer = 0;
    bool done = false;
};

namespace {

DragDuringRequester::Watch* watching = nullptr;

void CALLBACK on_timer(HWND, UINT, UINT_PTR, DWORD) {
    const std::vector<HWND> dialogs = dialogs_of(GetCurrentThreadId());
    if (!watching || dialogs.empty()) return;
    HWND dialog = dialogs.front();
    KillTimer(nullptr, watching->timer);
    drag_files_onto_row(watching->list, watching->row, watching->files);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    watching->done = true;
}

// The drag loop's calls on the control's registered target, at a point of its
// client area. Result: that point.
DropPoint drag_onto(HWND control, DropPoint at, const std::vector<std::filesystem::path>& files, int keys) {
    auto* target = static_cast<IDropTarget*>(GetPropW(control, L"QX_DropAccept"));
    if (!target) return at;
    std::vector<std::u16string> names;
    for (const std::filesystem::path& file : files) names.push_back(file.u16string());
    TestDataObject data;
    data.add(CF_HDROP, wide_file_list(names));
    POINT point{at.x, at.y};
    ClientToScreen(control, &point);
    const POINTL screen{point.x, point.y};
    // The drag loop's key state has the platform's MK_ bits, which the DROP_KEY_ ones are.
    const DWORD held = static_cast<DWORD>(keys);
    constexpr DWORD OFFERED = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    DWORD effect = OFFERED;
    target->DragEnter(&data, MK_LBUTTON | held, screen, &effect);
    effect = OFFERED;
    target->DragOver(MK_LBUTTON | held, screen, &effect);
    if (!effect) {
        target->DragLeave();
        return at;
    }
    effect = OFFERED;
    target->Drop(&data, held, screen, &effect);
    return at;
}

}  // namespace

DropPoint drag_files_onto_row(ObjectNumber list, int row, const std::vector<std::filesystem::path>& files,
                              int keys) {
    HWND control = reinterpret_cast<HWND>(gadget_handle(list));
    RECT rect{};
    if (row >= 0) {
        SendMessageW(control, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
    } else {  // below the last row
        const int last = static_cast<int>(SendMessageW(control, LB_GETCOUNT, 0, 0)) - 1;
        SendMessageW(control, LB_GETITEMRECT, static_cast<WPARAM>(last), reinterpret_cast<LPARAM>(&rect));
        OffsetRect(&rect, 0, 40);
    }
    return drag_onto(control, {rect.left + 20, (rect.top + rect.bottom) / 2}, files, keys);
}

DropPoint drag_files_onto_window(ObjectNumber window, int x, int y, const std::vector<std::filesystem::path>& files) {
    return drag_onto(reinterpret_cast<HWND>(window_handle(window)), {x, y}, files, 0);
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
