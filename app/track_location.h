// Where the player finds the track a playlist line names, read exactly as the
// player reads it, so that rows of an opened playlist play the same file the
// player would. Pure: nothing here looks at the disk.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The player's path buffer, in bytes: a line counts only this many bytes as
// stored, and a resolved path needs fewer to play.
inline constexpr std::size_t PLAYER_PATH_BYTES = 260;
// The entries the player loads from one playlist; later ones are not loaded.
inline constexpr int PLAYER_ENTRY_LIMIT = 10000;

// A line read in the player's code page is converted to UTF-8 only while it
// has fewer than this many bytes.
inline constexpr std::size_t CODE_PAGE_NAME_BYTES = 257;

// How the playlist file stores its lines, and how the player reads them.
struct LineStorage {
    // Stored one byte a character (a legacy code page) rather than as UTF-8.
    bool one_byte_a_character = false;
    // A .m3u file without a byte-order mark: the player reads it in its code
    // page, cuts trailing \v, \f and \r as well as spaces and tabs, and
    // converts the name to UTF-8 only up to CODE_PAGE_NAME_BYTES. Names that
    // are UTF-8 are read as UTF-8 all the same (see docs/design.md).
    bool player_code_page = false;
};

enum class LineReading {
    no_entry,        // "#" first, or empty: the player skips the line
    path,            // the path names what the player looks for
    stops_playlist,  // folder, "/" and line are too long: the player ends the playlist here
    too_long,        // the resolved path is too long to play
};

// Writes to path the line as a path from the root of the playlist's volume
// ("/Music/a.mp3"), as the player resolves it; playlist_folder is the
// playlist's folder from the root as the system names it ("/Playlists"; ""
// for the root), without "." or empty parts. path is empty unless the result
// is LineReading::path; its room is reused.
LineReading PlayerTrackPath(std::u16string_view line, std::u16string_view playlist_folder, LineStorage storage,
                            std::u16string& path);

// The player's fallback for paths written on other computers: drops the
// first folder of a path from the root ("/a/b/c.mp3" becomes "/b/c.mp3").
// False, leaving path as it was, when no folder is left to drop.
bool DropFirstFolder(std::u16string& path);
// The same on a view, which then shows the rest of the path.
bool DropFirstFolder(std::u16string_view& path);

// Whether the player has a codec for the path's extension.
bool PlayerPlaysType(std::u16string_view path);

// Writes to local the file that a player path names under the volume's root,
// with the root's own separator; empty without a root.
void LocalPathOf(std::u16string_view player_path, std::u16string_view volume_root, std::u16string& local);

// The player path of a local file under the volume's root: LocalPathOf's
// inverse.
std::u16string PlayerPathOf(std::u16string_view local, std::u16string_view volume_root);
