// What the player will do with each row of a playlist, found on the player's
// own files: the twin, on the computer, of the player's reading.
#pragma once

#include <string>
#include <string_view>

#include "app/folder_listings.h"
#include "app/track_location.h"

// Where the player reads the playlist, and how its lines are stored.
struct PlaylistOnPlayer {
    std::u16string volume_root;  // the playlist's volume on this computer: "E:\", "/media/me/PLAYER/"
    std::u16string folder;       // the playlist's folder from the root: "/Playlists"; "" for the root
    LineStorage storage;
};

// Where the playlist at playlist_path lies on its volume (both empty when the
// path names no volume).
PlaylistOnPlayer PlaylistOnPlayerAt(const char16_t* playlist_path, LineStorage storage);

// The file the player plays for a path: the path itself, a file found by the
// player's fallback, or none.
struct PlayerLookup {
    // Its path on the player: as written when the system finds it so (FAT,
    // exFAT and Windows ignore letter case), else as stored; empty when none
    // is found.
    std::u16string played;
    std::u16string local;   // the same file on this computer
    bool by_fallback = false;
    bool folder = false;  // the path itself names a folder
};

// Looks the path up on the volume as the player does: when no file is there,
// its first folder is dropped and the rest looked for, until a file is found
// or nothing is left; names match in any letter case, as on FAT and exFAT.
// With listings, the folders looked in before answer from their listings.
PlayerLookup LookUpOnPlayer(std::u16string_view volume_root, std::u16string_view player_path,
                            FolderListings* listings = nullptr);

enum class PlayerVerdict {
    no_entry,            // a comment or empty line: nothing to play
    plays,               // the file the row names
    plays_by_fallback,   // another path, found by the fallback (RowCheck::played)
    not_found,
    folder,
    too_long,            // the resolved path is too long for the player
    stops_playlist,      // the player ends the playlist at this row
    after_stop,          // a row after the one where the player stops
    unplayed_type,       // a file the player has no codec for
    beyond_entry_limit,  // past the entries the player loads
    other_volume,        // a dropped file on another volume than the playlist's
};

struct RowCheck {
    PlayerVerdict verdict = PlayerVerdict::no_entry;
    std::u16string played;  // the player path the player plays or finds; empty when none
};

// How far the player got through the rows checked so far, in order.
struct CheckProgress {
    int entries = 0;
    bool stopped = false;
};

// What the player does with the row that follows the rows progress has seen;
// progress then includes it. row_volume_root is the volume of a dropped row's
// file; empty for a row read from the playlist file. listings, when given,
// are those of the pass over the rows this row is part of.
RowCheck CheckRow(const PlaylistOnPlayer& playlist, std::u16string_view line, std::u16string_view row_volume_root,
                  CheckProgress& progress, FolderListings* listings = nullptr);

// CheckRow in two steps, so that a pass may read rows ahead while a folder's
// listing is read. ReadRow gives the verdict the line alone tells, and true
// when the verdict waits on a look-up of check.played, the path the player
// resolves the line to; check's storage is reused.
bool ReadRow(const PlaylistOnPlayer& playlist, std::u16string_view line, std::u16string_view row_volume_root,
             CheckProgress& progress, RowCheck& check);
// The look-up ReadRow left, and the verdict it gives.
void LookUpRow(const PlaylistOnPlayer& playlist, RowCheck& check, FolderListings* listings);
