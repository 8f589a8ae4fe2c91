#include "app/player_check.h"

#include <algorithm>

#include "app/built_text.h"
#include "runtime/file/file.h"

PlaylistOnPlayer PlaylistOnPlayerAt(const char16_t* playlist_path, LineStorage storage) {
    Text root = Built([playlist_path] { file_volume_root(playlist_path, -1); });
    Text from_root = Built([playlist_path] { file_volume_path(playlist_path, -1); });
    PlaylistOnPlayer playlist{root.c_str(), from_root.c_str(), storage};
    playlist.folder.erase(std::min(playlist.folder.size(), playlist.folder.find_last_of(u'/')));
    return playlist;
}

namespace {

// LookUpOnPlayer's work; the local path of a file found as written is only
// made when asked for, as the check of a row has no use for it. The played
// path is written in played_room's storage.
PlayerLookup LookUp(std::u16string_view volume_root, std::u16string_view player_path, FolderListings* listings,
                    bool with_local, std::u16string played_room = {}) {
    PlayerLookup lookup;
    lookup.played = std::move(played_room);
    lookup.played.clear();
    // The path looked for is always a tail of player_path: the fallback only
    // drops folders from its front, so no copy of it is made.
    std::u16string_view candidate = player_path;
    std::u16string local;
    for (bool first = true;; first = false) {
        // A file there as written is taken as written: the system found it,
        // and asking for its stored spelling costs a look per folder of its
        // path (on Windows), for every row of a playlist.
        int kind = listings ? listings->KnownKind(volume_root, candidate) : FILE_KIND_NONE;
        if (kind == FILE_KIND_NONE) {
            LocalPathOf(candidate, volume_root, local);
            kind = file_kind(local.c_str());
            if (kind == FILE_KIND_NONE) {
                const int mark = text_builder_mark();
                const char16_t* found = file_find_ignoring_case(local.c_str(), -1, &kind);
                if (kind == FILE_KIND_FILE) {
                    lookup.local = found;
                    lookup.played = PlayerPathOf(lookup.local, volume_root);
                }
                text_builder_rewind(mark);
            }
        }
        if (first) lookup.folder = kind == FILE_KIND_FOLDER;
        if (kind == FILE_KIND_FILE) {
            if (lookup.played.empty()) {
                // Found as written: its player path is the candidate itself,
                // with the separators PlayerPathOf would give it.
                lookup.played.assign(candidate);
                std::replace(lookup.played.begin(), lookup.played.end(), u'\\', u'/');
                if (with_local) LocalPathOf(candidate, volume_root, lookup.local);
            }
            lookup.by_fallback = !first;
            return lookup;
        }
        if (!DropFirstFolder(candidate)) return lookup;
    }
}

}  // namespace

PlayerLookup LookUpOnPlayer(std::u16string_view volume_root, std::u16string_view player_path,
                            FolderListings* listings) {
    return LookUp(volume_root, player_path, listings, true);
}

bool ReadRow(const PlaylistOnPlayer& playlist, std::u16string_view line, std::u16string_view row_volume_root,
             CheckProgress& progress, RowCheck& check) {
    check.verdict = PlayerVerdict::no_entry;
    LineReading reading = PlayerTrackPath(line, playlist.folder, playlist.storage, check.played);
    if (reading == LineReading::no_entry) return false;
    if (++progress.entries > PLAYER_ENTRY_LIMIT) {
        check.verdict = PlayerVerdict::beyond_entry_limit;
    } else if (progress.stopped) {
        check.verdict = PlayerVerdict::after_stop;
    } else if (reading == LineReading::stops_playlist) {
        progress.stopped = true;
        check.verdict = PlayerVerdict::stops_playlist;
    } else if (reading == LineReading::too_long) {
        check.verdict = PlayerVerdict::too_long;
    } else if (!row_volume_root.empty() && row_volume_root != playlist.volume_root) {
        check.verdict = PlayerVerdict::other_volume;
    } else {
        return true;
    }
    check.played.clear();
    return false;
}

void LookUpRow(const PlaylistOnPlayer& playlist, RowCheck& check, FolderListings* listings) {
    // Most rows name a file there as written, and their path stays as it is.
    if (listings && listings->ListedKind(playlist.volume_root, check.played) == FILE_KIND_FILE) {
        check.verdict = PlayerPlaysType(check.played) ? PlayerVerdict::plays : PlayerVerdict::unplayed_type;
        return;
    }
    // The path is looked up from a copy, as the found path takes its place.
    thread_local std::u16string path;
    path.assign(check.played);
    PlayerLookup lookup = LookUp(playlist.volume_root, path, listings, false, std::move(check.played));
    check.played = std::move(lookup.played);
    if (check.played.empty())
        check.verdict = lookup.folder ? PlayerVerdict::folder : PlayerVerdict::not_found;
    else if (!PlayerPlaysType(check.played))
        check.verdict = PlayerVerdict::unplayed_type;
    else
        check.verdict = lookup.by_fallback ? PlayerVerdict::plays_by_fallback : PlayerVerdict::plays;
}

RowCheck CheckRow(const PlaylistOnPlayer& playlist, std::u16string_view line, std::u16string_view row_volume_root,
                  CheckProgress& progress, FolderListings* listings) {
    RowCheck check;
    if (ReadRow(playlist, line, row_volume_root, progress, check)) LookUpRow(playlist, check, listings);
    return check;
}
