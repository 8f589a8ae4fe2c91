// The playlist: rows of the list gadget and the entries of playlist_store,
// always in step (row i shows entry i's player path), and the editing commands.
#pragma once

struct PlaylistEntry;  // app_state.h

void HandleFileDrop();
void NewPlaylist();
void ClearPlaylist();
void DeleteTrack();
void MoveTrackUp();
void MoveTrackDown();
// Moves a row and its entry to stand at index to, selected, as Move up and
// Move down do by one; rows that do not exist change nothing.
void MoveTrack(int from, int to);
void ShuffleTracks();
void ShuffleAndRefill();

// Appends one entry and its row. The shown path is the player path.
void AppendTrack(const char16_t* player_path, const char16_t* local_path);
// Appends one entry without its row, when many are added at once: until
// ShowEntriesFrom adds their rows the list is not in step. The entry, or
// nullptr when there is no memory for it (then no row is due either).
PlaylistEntry* AppendEntry(const char16_t* player_path, const char16_t* local_path);
// Appends in one go the rows of the entries from index first on.
void ShowEntriesFrom(int first);
