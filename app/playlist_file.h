// Playlist files (M3U, UTF-8, one row per line ending in CR LF) and the
// window title that names the current one.
#pragma once

inline constexpr char16_t PLAYLIST_PATTERN[] = u"Playlist (*.m3u) | *.m3u";

void OpenPlaylist();
void SavePlaylist();
void SavePlaylistAs();
// Replaces rows and entries by the lines of playlist_path; false when it cannot be opened.
bool ReadPlaylistFile();
// Writes every row to playlist_path; true when the file is complete on disk.
bool WritePlaylistFile();
void ShowSavedMessage();
void UpdateTitle();
