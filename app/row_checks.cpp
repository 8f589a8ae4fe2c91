#include "app/row_checks.h"

#include <algorithm>
#include <chrono>

#include "app/app_state.h"
#include "app/playlist_file.h"
#include "runtime/file/file.h"
#include "runtime/gui/gadget.h"

namespace {

// A slice stops after this many rows or this long, whichever comes first:
// a row that misses asks the disk once per folder of its path, and one on a
// slow card or share may take a while.
constexpr int SLICE_ROWS = 2048;
constexpr auto SLICE_TIME = std::chrono::milliseconds(10);

struct CheckedRows {
    std::u16string playlist_path;  // the file the rows were checked for
    bool located = false;          // whether `playlist` was found for it
    PlaylistOnPlayer playlist;
    std::vector<RowCheck> checks;        // one per row, valid below `next`
    std::vector<CheckProgress> reached;  // how far the player got after each row, valid below `read`
    std::vector<char> to_look_up;        // rows read whose verdict waits on a look-up
    int next = 0;                        // the first row not checked yet
    int read = 0;                        // the first row not read yet: rows are read ahead of `next`
                                         // while a folder's listing is read
    bool marked = false;                 // whether any row got a mark since the list was last empty
    // The folders this pass looked in; forgotten when it ends or starts
    // again, so that a file added or removed meanwhile is seen by the next.
    FolderListings listings;
};

CheckedRows checked;

int RowCount() { return list_count(app.playlist_store.list); }

// The file the rows will be saved to; without one the playlist is taken to
// lie at the root of the first row's volume, where a player finds it, under
// a name such as Save gives it.
std::u16string PlaylistFileOrFirstRow() {
    if (!app.playlist_path.empty()) return app.playlist_path.c_str();
    auto* first = static_cast<PlaylistEntry*>(list_select(app.playlist_store.list, 0));
    if (!first || !first->local_path || !*first->local_path) return u"";
    Text root = Built([first] { file_volume_root(first->local_path, -1); });
    return root.empty() ? u"" : std::u16string(root.c_str()) + u"x.m3u";
}

// Where the playlist at path is, or will be once written: a file not made
// yet lies in its folder.
PlaylistOnPlayer Locate(const std::u16string& path) {
    LineStorage storage = SavedLineStorage(path.c_str());
    PlaylistOnPlayer playlist = PlaylistOnPlayerAt(path.c_str(), storage);
    std::size_t cut = path.find_last_of(u"/\\");
    if (!playlist.volume_root.empty() || cut == std::u16string::npos) return playlist;
    std::u16string folder = path.substr(0, cut + 1);
    Text root = Built([&folder] { file_volume_root(folder.c_str(), -1); });
    Text from_root = Built([&folder] { file_volume_path(folder.c_str(), -1); });
    playlist.volume_root = root.c_str();
    playlist.folder = from_root.c_str();
    while (!playlist.folder.empty() && playlist.folder.back() == u'/') playlist.folder.pop_back();
    return playlist;
}

// The volume of a dropped row's file when it is not the playlist's: a row
// read from the playlist, or a file already known to be on the playlist's
// volume, asks the disk nothing.
std::u16string OtherVolumeOf(const PlaylistEntry& entry) {
    std::u16string_view local = entry.local_path ? entry.local_path : u"";
    const std::u16string& root = checked.playlist.volume_root;
    if (local.empty() || local.substr(0, root.size()) == root) return u"";
    Text volume = Built([&entry] { file_volume_root(entry.local_path, -1); });
    return volume.c_str();
}

void StartOver() {
    checked.listings.Forget();
    checked.playlist_path = app.playlist_path.c_str();
    std::u16string located_at = PlaylistFileOrFirstRow();
    checked.playlist = located_at.empty() ? PlaylistOnPlayer{} : Locate(located_at);
    checked.located = !checked.playlist.volume_root.empty();
}

// A row the player will not play is marked as a problem; one it plays only
// through its fallback, as worth a look; the tip says why.
void ShowMark(int row, const RowCheck& check) {
    int mark = GADGET_MARK_NONE;
    if (check.verdict == PlayerVerdict::plays_by_fallback)
        mark = GADGET_MARK_NOTICE;
    else if (!PlaysAsWritten(check))
        mark = GADGET_MARK_PROBLEM;
    if (mark == GADGET_MARK_NONE &&
        (!checked.marked || gadget_item_mark_get(PLAYLIST_GADGET, row) == GADGET_MARK_NONE))
        return;
    checked.marked = true;
    gadget_item_mark_set(PLAYLIST_GADGET, row, mark, CheckReason(check).c_str());
}

// Reads the row at checked.read, whose entry it is given: what its line
// alone tells, and the folder its look-up will need.
void ReadOne(const PlaylistEntry& entry) {
    const int row = checked.read++;
    CheckProgress progress = row == 0 ? CheckProgress{} : checked.reached[row - 1];
    RowCheck& check = checked.checks[row];
    if (!checked.located) {
        check = RowCheck{};
        checked.to_look_up[row] = false;
    } else {
        const char16_t* line = entry.player_path ? entry.player_path : u"";
        checked.to_look_up[row] = ReadRow(checked.playlist, line, OtherVolumeOf(entry), progress, check);
        if (checked.to_look_up[row]) checked.listings.Expect(checked.playlist.volume_root, check.played);
    }
    checked.reached[row] = progress;
}

// Whether the row at checked.next would wait for a folder's listing, after
// waiting for it until the time given, if that is still ahead.
bool NextWaits(std::chrono::steady_clock::time_point until = {}) {
    return checked.to_look_up[checked.next] &&
           !checked.listings.Ready(checked.playlist.volume_root, checked.checks[checked.next].played, until);
}

// Ends the check of the row at checked.next.
void FinishOne() {
    const int row = checked.next++;
    if (checked.to_look_up[row]) LookUpRow(checked.playlist, checked.checks[row], &checked.listings);
    ShowMark(row, checked.checks[row]);
}

}  // namespace

void CheckRowsFrom(int row) {
    checked.next = std::clamp(row, 0, checked.next);
    checked.read = checked.next;
    checked.listings.Forget();
    // An emptied list holds no mark; its new rows need no look at theirs.
    if (RowCount() == 0) checked.marked = false;
}

bool RowCheckPending() {
    const int count = RowCount();
    return checked.next < count || checked.checks.size() != static_cast<std::size_t>(count) ||
           checked.playlist_path != app.playlist_path.c_str();
}

void CheckNextRows() {
    // Another file is another place on the player: every row anew.
    if (checked.playlist_path != app.playlist_path.c_str()) checked.next = checked.read = 0;
    const int count = RowCount();
    if (checked.read == 0) StartOver();
    checked.checks.resize(count);
    checked.reached.resize(count);
    checked.to_look_up.resize(count);
    checked.read = std::min(checked.read, count);
    if (checked.next >= count) return;
    checked.listings.Revisit();
    const auto start = std::chrono::steady_clock::now();
    OrderedList* store = app.playlist_store.list;
    auto* entry = static_cast<PlaylistEntry*>(list_select(store, checked.read));
    for (int step = 1, finished = 0; checked.next < count; ++step) {
        // While the next row waits for a listing, the rows after it are read.
        if (entry && (checked.next == checked.read || NextWaits())) {
            ReadOne(*entry);
            entry = static_cast<PlaylistEntry*>(list_next(store));
        } else if (!entry && NextWaits(start + SLICE_TIME)) {
            // Every row is read and the listing is not: the window's events
            // come first, and the next slice waits on.
            break;
        } else {
            FinishOne();
            ++finished;
        }
        // The clock is read every few rows: on some systems reading it costs
        // as much as a row that is there.
        if (finished >= SLICE_ROWS || (step % 8 == 0 && std::chrono::steady_clock::now() - start >= SLICE_TIME))
            break;
    }
    if (checked.next >= count) checked.listings.Forget();
}

const std::vector<RowCheck>& CheckAllRows() {
    while (RowCheckPending()) CheckNextRows();
    return checked.checks;
}

const PlaylistOnPlayer& CheckedPlaylist() { return checked.playlist; }

bool PlaysAsWritten(const RowCheck& check) {
    return check.verdict == PlayerVerdict::no_entry || check.verdict == PlayerVerdict::plays;
}

std::u16string CheckReason(const RowCheck& check) {
    switch (check.verdict) {
    case PlayerVerdict::no_entry:
    case PlayerVerdict::plays:
        return u"";
    case PlayerVerdict::plays_by_fallback:
        return u"The player plays " + check.played + u" instead.";
    case PlayerVerdict::not_found:
        return u"The player finds no file here.";
    case PlayerVerdict::folder:
        return u"This is a folder: the player plays files only.";
    case PlayerVerdict::too_long:
        return u"The path is too long for the player.";
    case PlayerVerdict::stops_playlist:
        return u"The player stops the playlist here: the line is too long for it.";
    case PlayerVerdict::after_stop:
        return u"The player never gets here: it stopped the playlist at an earlier row.";
    case PlayerVerdict::unplayed_type:
        return u"The player cannot play this type of file.";
    case PlayerVerdict::beyond_entry_limit:
        return u"The player loads only the first 10000 tracks of a playlist.";
    case PlayerVerdict::other_volume:
        return u"This file is on another drive than the playlist.";
    }
    return u"";
}
