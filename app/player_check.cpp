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

PlayerLookup LookUpOnPlayer(std::u16string_view volume_root, std::u16string_view player_path,
                            FolderListings* listings) {
    PlayerLookup lookup;
    std::u16string candidate(player_path);
    std::u16string local;
    for (bool first = true;; first = false) {
        LocalPathOf(candidate, volume_root, local);
        // A file there as written is taken as written: the system found it,
        // and asking for its stored spelling costs a look per folder of its
        // path (on Windows), for every row of a playlist.
        int kind = listings ? listings->KnownKind(volume_root, candidate) : FILE_KIND_NONE;
        if (kind == FILE_KIND_NONE) kind = file_kind(local.c_str());
        if (kind == FILE_KIND_FILE) {
            lookup.local = std::move(local);
        } else if (kind == FILE_KIND_NONE) {
            const int mark = text_builder_mark();
            const char16_t* found = file_find_ignoring_case(local.c_str(), -1, &kind);
            if (kind == FILE_KIND_FILE) lookup.local = found;
            text_builder_rewind(mark);
        }
        if (first) lookup.folder = kind == FILE_KIND_FOLDER;
        if (kind == FILE_KIND_FILE) {
            lookup.played = PlayerPathOf(lookup.local, volume_root);
            lookup.by_fallback = !first;
            return lookup;
        }
        if (!DropFirstFolder(candidate)) return lookup;
    }
}

RowCheck CheckRow(const PlaylistOnPlayer& playlist, std::u16string_view line, std::u16string_view row_volume_root,
                  CheckProgress& progress, FolderListings* listings) {
    RowCheck check;
    std::u16string path;
    LineReading reading = PlayerTrackPath(line, playlist.folder, playlist.storage, path);
    if (reading == LineReading::no_entry) return check;
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
        PlayerLookup lookup = LookUpOnPlayer(playlist.volume_root, path, listings);
        check.played = std::move(lookup.played);
        if (check.played.empty())
            check.verdict = lookup.folder ? PlayerVerdict::folder : PlayerVerdict::not_found;
        else if (!PlayerPlaysType(check.played))
            check.verdict = PlayerVerdict::unplayed_type;
        else
            check.verdict = lookup.by_fallback ? PlayerVerdict::plays_by_fallback : PlayerVerdict::plays;
    }
    return check;
}
