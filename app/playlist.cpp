#include "app/playlist.h"

#include <algorithm>
#include <vector>

#include "app/app_state.h"
#include "app/playlist_file.h"
#include "app/row_checks.h"
#include "runtime/file/file.h"
#include "runtime/gui/drop.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/requester.h"

namespace {

// Ends the line that starts there with a null in place of its line feed, so
// that it can be passed on as a text of its own. The next line's start, or
// nullptr after the last line.
char16_t* EndLine(char16_t* line) {
    while (*line != u'\n' && *line != u'\0') ++line;
    if (*line == u'\0') return nullptr;
    *line = u'\0';
    return line + 1;
}

PlaylistEntry* SelectEntry(int index) {
    return static_cast<PlaylistEntry*>(list_select(app.playlist_store.list, index));
}

}  // namespace

PlaylistEntry* AppendEntry(const char16_t* player_path, const char16_t* local_path) {
    auto* entry = static_cast<PlaylistEntry*>(list_append(app.playlist_store.list));
    if (!entry) return nullptr;
    // Assigning copies straight into the entry's own blocks: the texts may lie
    // in the builder, which must not grow while they are read.
    text_assign(&entry->player_path, player_path);
    text_assign(&entry->local_path, local_path);
    return entry;
}

void AppendTrack(const char16_t* player_path, const char16_t* local_path) {
    if (PlaylistEntry* entry = AppendEntry(player_path, local_path))
        gadget_item_add(PLAYLIST_GADGET, -1, entry->player_path);
}

void ShowEntriesFrom(int first) {
    OrderedList* store = app.playlist_store.list;
    std::vector<const char16_t*> rows;
    rows.reserve(static_cast<std::size_t>(std::max(0, list_count(store) - first)));
    for (auto* entry = static_cast<PlaylistEntry*>(list_select(store, first)); entry;
         entry = static_cast<PlaylistEntry*>(list_next(store)))
        rows.push_back(entry->player_path);
    gadget_items_append(PLAYLIST_GADGET, rows.data(), static_cast<int>(rows.size()));
}

void HandleFileDrop() {
    Text dropped = Built([] { event_drop_files(); });
    // A drop whose file list was refused or broken brings nothing.
    if (*dropped.c_str() == u'\0') return;
    // The player's paths of all the names at once: the files of one folder
    // need one look at that folder, not one each.
    Text players = Built([&dropped] { file_player_paths(dropped.c_str(), -1); });
    // One pass over both, line by line, each line ended in place; the list
    // repaints once. A file with no player path (on Linux, one gone before
    // the drop was read) adds no row: its line would be empty in the saved
    // playlist.
    const int first = gadget_item_count(PLAYLIST_GADGET);
    CheckRowsFrom(first);
    gadget_redraw(PLAYLIST_GADGET, 0);
    char16_t* local = *dropped.variable();
    char16_t* player = *players.variable();
    while (local) {
        char16_t* const next_local = EndLine(local);
        char16_t* const next_player = player ? EndLine(player) : nullptr;
        if (player && *player) {
            AppendEntry(player, local);
            app.is_saved = 0;
        }
        local = next_local;
        player = next_player;
    }
    ShowEntriesFrom(first);
    gadget_redraw(PLAYLIST_GADGET, 1);
}

void NewPlaylist() {
    if (app.is_saved != 0) {
        ClearPlaylist();
        app.playlist_path = nullptr;
    } else {
        int answer = requester_message(u"Unsaved Data!",
                                       u"Your work has not been saved yet!\r\n"
                                       u"Do you want to save before starting over?",
                                       35);
        if (answer == 7) {
            ClearPlaylist();
            app.is_saved = 1;
            app.playlist_path = nullptr;
        } else if (answer == 6) {
            SavePlaylist();
            if (app.is_saved != 0) {
                ClearPlaylist();
                ShowSavedMessage();
                // The saved file is done with: the next Save asks for a new name.
                app.playlist_path = nullptr;
            }
        }
    }
    UpdateTitle();
}

void ClearPlaylist() {
    gadget_clear(PLAYLIST_GADGET);
    list_clear(app.playlist_store.list);
    CheckRowsFrom(0);
}

void DeleteTrack() {
    int row = gadget_state_get(PLAYLIST_GADGET);
    if (row == -1) return;
    if (PlaylistEntry* entry = SelectEntry(row)) list_remove(app.playlist_store.list, entry);
    gadget_item_remove(PLAYLIST_GADGET, row);
    CheckRowsFrom(row);
    app.is_saved = 0;
}

void MoveTrack(int from, int to) {
    const int count = gadget_item_count(PLAYLIST_GADGET);
    if (from < 0 || to < 0 || from >= count || to >= count || from == to) return;
    if (PlaylistEntry* moved = SelectEntry(from)) {
        // Before the entry now at the place, or after the one there when the
        // entry goes down; the end when there is none.
        PlaylistEntry* before = SelectEntry(to < from ? to : to + 1);
        list_move(app.playlist_store.list, moved, before);
    }
    gadget_item_move(PLAYLIST_GADGET, from, to);
    gadget_state_set(PLAYLIST_GADGET, to);
    CheckRowsFrom(std::min(from, to));
    app.is_saved = 0;
}

void MoveTrackDown() {
    int row = gadget_state_get(PLAYLIST_GADGET);
    int count = gadget_item_count(PLAYLIST_GADGET);
    if (row == -1 || row >= count - 1) return;
    MoveTrack(row, row + 1);
}

void MoveTrackUp() {
    int row = gadget_state_get(PLAYLIST_GADGET);
    if (row == -1 || row <= 0) return;
    MoveTrack(row, row - 1);
}

void ShuffleTracks() {
    if (gadget_item_count(PLAYLIST_GADGET) > 1) ShuffleAndRefill();
}

void ShuffleAndRefill() {
    gadget_redraw(PLAYLIST_GADGET, 0);
    gadget_clear(PLAYLIST_GADGET);
    OrderedList* store = app.playlist_store.list;
    list_shuffle(store);
    ShowEntriesFrom(0);
    gadget_redraw(PLAYLIST_GADGET, 1);
    CheckRowsFrom(0);
    app.is_saved = 0;
}
