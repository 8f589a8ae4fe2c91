// The local files behind the lines of an opened playlist: the tracks the
// player would play, where they would be on this computer.
#pragma once

#include <string>
#include <string_view>

#include "app/built_text.h"
#include "app/player_check.h"
#include "app/track_location.h"

class TrackFinder {
public:
    // Where the playlist file lies: the root of its volume, and its folder
    // as the player sees it; and how the file stores its lines.
    TrackFinder(const char16_t* playlist_path, LineStorage storage);

    // The local file at the path the player resolves the line to ("" when it
    // names no track the player could play), valid until the next call. The
    // disk is not asked: a playlist of thousands of tracks opens without a
    // look-up per row; the player's look-ups wait until a row is played.
    const char16_t* LocalPathFor(std::u16string_view line);

private:
    PlaylistOnPlayer playlist_;
    std::u16string player_path_;  // room reused for every line
    std::u16string local_path_;
};

// The file to play for a row's local path: the file there, or, for a path on
// the playlist's volume, the file the player's look-up finds for it (its
// fallback and letter case included); the local path itself when none is
// found, which then fails to load and plays nothing.
Text FileToPlay(const char16_t* local_path, const char16_t* playlist_path);
