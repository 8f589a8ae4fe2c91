// The main loop: one event at a time, each handled to completion before the
// next is awaited.
#include "app/app_state.h"
#include "app/startup.h"
#include "runtime/gui/event.h"
#include "runtime/gui/window.h"

namespace {

using Command = void (*)();

// Toolbar item id -> handler; items without a handler are ignored.
constexpr Command toolbar_commands[] = {
    nullptr,  // ToolNewPlaylist
    nullptr,  // ToolOpenPlaylist
    nullptr,  // ToolSavePlaylist
    nullptr,  // ToolSaveAs
    nullptr,  // ToolDeleteTrack
    nullptr,  // ToolMoveUp
    nullptr,  // ToolMoveDown
    nullptr,  // ToolShuffle
    nullptr,  // ToolStop
    nullptr,  // ToolPlay
    nullptr,  // ToolPause
    nullptr,  // ToolNext
    nullptr,  // ToolPrevious
    nullptr,  // ToolVolume
    nullptr,  // ToolHelp
};

void RunToolbarCommand(ObjectNumber item) {
    if (item < 0 || item >= static_cast<ObjectNumber>(std::size(toolbar_commands))) return;
    if (Command command = toolbar_commands[item]) command();
}

// True when the program should end.
bool CloseRequested() {
    if (event_window() != MAIN_WINDOW) return false;
    if (app.is_saved == 1) {
        window_close(MAIN_WINDOW);
        return true;
    }
    return false;
}

}  // namespace

void RunMainLoop() {
    // Without a main window no close request can ever come: end at once.
    if (!window_handle(MAIN_WINDOW)) return;
    for (;;) {
        switch (event_wait()) {
        case EVENT_SIZE_WINDOW:
            FitListToWindow();
            break;
        case EVENT_GADGET:
            event_gadget();  // clicks on the list do nothing
            break;
        case EVENT_MENU:
            RunToolbarCommand(event_menu_item());
            break;
        case EVENT_CLOSE_WINDOW:
            if (CloseRequested()) return;
            break;
        default:
            break;
        }
    }
}
