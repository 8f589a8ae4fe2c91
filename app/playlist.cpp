#include "app/playlist.h"

#include <string_view>

#include "app/app_state.h"
#include "app/playlist_file.h"
#include "runtime/file/file.h"
#include "runtime/gui/drop.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/requester.h"

namespace {

// Appends a dropped file with the path the player sees for it, each given
// by its place in a longer text: both are copied into the builder with their
// terminators, then found again by their places, as the builder may move
// while the second is copied. A file with no player path (on Linux, one gone
// before the drop was read) adds no row: its line would be empty in the
// saved playlist.
bool AppendDroppedFile(std::u16string_view local, std::u16string_view player) {
    if (player.empty()) return false;
    const int mark = text_builder_mark();
    char16_t* copy = text_builder_reserve(static_cast<int>(local.size() + 1 + player.size()), -1);
    local.copy(copy, local.size());
    copy[local.size()] = 0;
    player.copy(copy + local.size() + 1, player.size());
    copy[local.size() + 1 + player.size()] = 0;
    const char16_t* local_path = text_builder_address(mark);
    AppendTrack(local_path + local.size() + 1, local_path);
    text_builder_rewind(mark);
    return true;
}

// The line that starts at the given place of a text of lines joined by line
// feeds; *next becomes the start of the next line, or npos after the last.
std::u16string_view NextLine(std::u16string_view text, std::size_t* next) {
    const std::size_t start = *next;
    const std::size_t end = text.find(u'\n', start);
    *next = end == std::u16string_view::npos ? end : end + 1;
    return text.substr(start, end == std::u16string_view::npos ? end : end - start);
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
    // The player's paths of all the names at once: the files of one folder
    // need one look at that folder, not one each.
    Text players = Built([&dropped] { file_player_paths(dropped.c_str(), -1); });
    // One pass over both texts, line by line; the list repaints once.
    gadget_redraw(PLAYLIST_GADGET, 0);
    const std::u16string_view locals = dropped.c_str(), player_paths = players.c_str();
    std::size_t next_local = 0, next_player = 0;
    while (next_local != std::u16string_view::npos) {
        const std::u16string_view local = NextLine(locals, &next_local);
        const std::u16string_view player =
            next_player == std::u16string_view::npos ? std::u16string_view() : NextLine(player_paths, &next_player);
        if (AppendDroppedFile(local, player)) app.is_saved = 0;
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
