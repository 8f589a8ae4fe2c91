#include "app/playlist.h"

#include <cstring>

#include "app/app_state.h"
#include "app/playlist_file.h"
#include "runtime/file/file.h"
#include "runtime/gui/drop.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/requester.h"

namespace {

// Appends the dropped file with the path the player sees for it. Both texts
// are built in the builder, which may move while the second is built, so
// each is found again by its place before it is used. A file with no player
// path (on Linux, one gone before the drop was read) adds no row: its line
// would be empty in the saved playlist.
bool AppendDroppedFile(const char16_t* path, int length) {
    int mark = text_builder_mark();
    // The name comes from the drop text, never from the builder itself.
    char16_t* local = text_builder_reserve(length + 1, -1);
    std::memcpy(local, path, static_cast<std::size_t>(length) * sizeof(char16_t));
    local[length] = 0;
    file_player_path(text_builder_address(mark), -1);
    const char16_t* local_path = text_builder_address(mark);
    bool seen = local_path[length + 1] != 0;
    if (seen) AppendTrack(local_path + length + 1, local_path);
    text_builder_rewind(mark);
    return seen;
}

PlaylistEntry* SelectEntry(int index) {
    return static_cast<PlaylistEntry*>(list_select(app.playlist_store.list, index));
}

void SwapRows(int a, int b) {
    if (PlaylistEntry* first = SelectEntry(a)) {
        if (PlaylistEntry* second = SelectEntry(b)) list_swap(app.playlist_store.list, first, second);
    }
    Text text_a = Built([a] { gadget_item_text_get(PLAYLIST_GADGET, a); });
    Text text_b = Built([b] { gadget_item_text_get(PLAYLIST_GADGET, b); });
    gadget_item_text_set(PLAYLIST_GADGET, b, text_a.c_str());
    gadget_item_text_set(PLAYLIST_GADGET, a, text_b.c_str());
    gadget_state_set(PLAYLIST_GADGET, b);
    app.is_saved = 0;
}

}  // namespace

void AppendTrack(const char16_t* player_path, const char16_t* local_path) {
    auto* entry = static_cast<PlaylistEntry*>(list_append(app.playlist_store.list));
    if (!entry) return;
    // Assigning copies straight into the entry's own blocks: the texts may lie
    // in the builder, which must not grow while they are read.
    text_assign(&entry->player_path, player_path);
    text_assign(&entry->local_path, local_path);
    gadget_item_add(PLAYLIST_GADGET, -1, entry->player_path);
}

void HandleFileDrop() {
    Text dropped = Built([] { event_drop_files(); });
    // A drop whose file list was refused or broken brings nothing.
    if (dropped.empty()) return;
    // One pass over the names, separated by line feeds; the list repaints once.
    gadget_redraw(PLAYLIST_GADGET, 0);
    const char16_t* name = dropped.c_str();
    for (const char16_t* p = name;; ++p) {
        if (*p == u'\n' || *p == 0) {
            if (AppendDroppedFile(name, static_cast<int>(p - name))) app.is_saved = 0;
            if (*p == 0) break;
            name = p + 1;
        }
    }
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
}

void DeleteTrack() {
    int row = gadget_state_get(PLAYLIST_GADGET);
    if (row == -1) return;
    if (PlaylistEntry* entry = SelectEntry(row)) list_remove(app.playlist_store.list, entry);
    gadget_item_remove(PLAYLIST_GADGET, row);
    app.is_saved = 0;
}

void MoveTrackDown() {
    int row = gadget_state_get(PLAYLIST_GADGET);
    int count = gadget_item_count(PLAYLIST_GADGET);
    if (row == -1 || row >= count - 1) return;
    SwapRows(row, row + 1);
}

void MoveTrackUp() {
    int row = gadget_state_get(PLAYLIST_GADGET);
    if (row == -1 || row <= 0) return;
    SwapRows(row, row - 1);
}

void ShuffleTracks() {
    if (gadget_item_count(PLAYLIST_GADGET) > 1) ShuffleAndRefill();
}

void ShuffleAndRefill() {
    gadget_redraw(PLAYLIST_GADGET, 0);
    gadget_clear(PLAYLIST_GADGET);
    OrderedList* store = app.playlist_store.list;
    list_shuffle(store);
    list_reset(store);
    while (auto* entry = static_cast<PlaylistEntry*>(list_next(store)))
        gadget_item_add(PLAYLIST_GADGET, -1, entry->player_path);
    gadget_redraw(PLAYLIST_GADGET, 1);
    app.is_saved = 0;
}
