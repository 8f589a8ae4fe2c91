// Where the player finds the track a playlist line names, so that rows of an
// opened playlist play the same file the player would.
#pragma once

#include <string>
#include <string_view>

// The player's longest path, in UTF-8 bytes, that it still plays.
inline constexpr std::size_t PLAYER_PATH_LIMIT = 259;

// Writes to path the line as a path from the root of the playlist's volume
// ("/Music/a.mp3"), following the player's own reading of playlist lines:
// "#" lines and empty lines name no track, trailing blanks are dropped, "\"
// is "/", a line that starts with "/" or a drive ("E:\") starts at the
// volume's root, any other is relative to playlist_folder (itself a
// collapsed path from the root, "" for the root), and "." and ".." parts are
// collapsed. False, with
// path empty, when the line names no track, climbs above the root or is
// longer than the player allows. path's room is reused from call to call.
bool PlayerTrackPath(std::u16string_view line, std::u16string_view playlist_folder, std::u16string& path);

// Writes to local the file that a player path names under the volume's root,
// with the root's own separator; empty without a root.
void LocalPathOf(std::u16string_view player_path, std::u16string_view volume_root, std::u16string& local);
