// The main loop: one event at a time, each handled to completion before the
// next is awaited.
#include "app/app_state.h"
#include "app/keys.h"
#include "app/list_events.h"
#include "app/main_window.h"
#include "app/playback.h"
#include "app/playlist.h"
#include "app/playlist_file.h"
#include "app/row_checks.h"
#include "app/startup.h"
#include "runtime/gui/event.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/requester.h"
#include "runtime/gui/window.h"

namespace {

using Command = void (*)();

// Toolbar item id -> its command.
constexpr Command toolbar_commands[] = {
    NewPlaylist,       // ToolNewPlaylist
    OpenPlaylist,      // ToolOpenPlaylist
    SavePlaylist,      // ToolSavePlaylist
    SavePlaylistAs,    // ToolSaveAs
    DeleteTrack,       // ToolDeleteTrack
    MoveTrackUp,       // ToolMoveUp
    MoveTrackDown,     // ToolMoveDown
    ShuffleTracks,     // ToolShuffle
    StopSong,          // ToolStop
    PlaySelectedSong,  // ToolPlay
    TogglePause,       // ToolPause
    NextSong,          // ToolNext
    PreviousSong,      // ToolPrevious
    ChangeVolume,      // ToolVolume
    ShowHelp,          // ToolHelp
};
static_assert(std::size(toolbar_commands) == ToolHelp + 1);

}  // namespace

void RunToolbarCommand(ObjectNumber item) {
    if (item >= 0 && item < static_cast<ObjectNumber>(std::size(toolbar_commands))) toolbar_commands[item]();
    else if (item == KeyPlayOrPause) PlayOrPause();
}

// The close request of a window; true when the program should end.
bool CloseAccepted() {
    if (event_window() != MAIN_WINDOW) return false;
    if (app.is_saved == 1) {
        window_close(MAIN_WINDOW);
        return true;
    }
    app.close_answer = requester_message(u"Unsaved Data!",
                                         u"Your work has not been saved yet!\r\n"
                                         u"Do you want to save before closing the application?",
                                         36);
    if (app.close_answer == 7) return true;
    if (app.close_answer != 6) return false;
    SavePlaylist();
    // A save that did not happen (cancelled, or the file could not be
    // written) must not cost the rows: keep running. An empty list has
    // nothing to lose.
    return app.is_saved == 1 || gadget_item_count(PLAYLIST_GADGET) <= 0;
}

void RunMainLoop() {
    // Without a main window no close request can ever come: end at once.
    if (!window_handle(MAIN_WINDOW)) return;
    for (;;) {
        // While rows wait for their check the wait does not block: the check
        // goes on a slice at a time between events.
        const bool checking = RowCheckPending();
        const int event = checking ? event_wait_timeout(0) : event_wait();
        if (checking) CheckNextRows();
        switch (event) {
        case EVENT_SIZE_WINDOW:
            FitListToWindow();
            break;
        case EVENT_GADGET_DROP:
            HandleFileDrop();
            break;
        case EVENT_GADGET:
            HandleListEvent();
            break;
        case EVENT_MENU:
            RunToolbarCommand(event_menu_item());
            break;
        case EVENT_CLOSE_WINDOW:
            if (CloseAccepted()) return;
            break;
        default:
            break;
        }
    }
}
