// Playlist files (M3U, UTF-8, one row per line ending in CR LF) and the
// window title that names the current one.
#pragma once

#include "app/track_location.h"

inline constexpr char16_t PLAYLIST_PATTERN[] = u"Playlist (*.m3u) | *.m3u";

void OpenPlaylist();
void SavePlaylist();
void SavePlaylistAs();
// Opens the playlist the program was given at start, if any, as Open opens
// the chosen one.
void OpenGivenPlaylist();
// What opening a playlist does about a path where there is no file.
enum class MissingPlaylist {
    create,  // an empty file is made: a new playlist of that name
    fail,
};
// Replaces rows and entries by the lines of playlist_path; false when it
// cannot be opened or read to its end, with the list as it was.
bool ReadPlaylistFile(MissingPlaylist missing = MissingPlaylist::create);
// Writes every row to playlist_path; true when the file is complete on disk.
bool WritePlaylistFile();
void ShowSavedMessage();
// Whether the player reads a playlist of that name in its code page when it
// has no byte-order mark (a .m3u in any letter case).
bool IsM3u(const char16_t* path);
// How the rows will be stored when saved to path, as the player reads them.
LineStorage SavedLineStorage(const char16_t* path);
void UpdateTitle();
