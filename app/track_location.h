// Where the player finds the track a playlist line names, so that rows of an
// opened playlist play the same file the player would.
#pragma once

#include <string>
#include <string_view>

// The player's longest path, in UTF-8 bytes, that it still plays.
inline constexpr std::size_t PLAYER_PATH_LIMIT = 259;

// The line as a path from the root of the playlist's volume ("/Music/a.mp3"),
// following the player's own reading of playlist lines: "#" lines and empty
// lines name no track, trailing blanks are dropped, "\" is "/", a line that
// starts with "/" or a drive ("E:\") starts at the volume's root, any other
// is relative to playlist_folder (itself from the root, "" for the root),
// and "." and ".." parts are collapsed. Empty when the line names no track,
// climbs above the root or is longer than the player allows.
std::u16string PlayerTrackPath(std::u16string_view line, std::u16string_view playlist_folder);

// The local file that a player path names under the volume's root, written
// with the root's own separator.
std::u16string LocalPathOf(std::u16string_view player_path, std::u16string_view volume_root);
