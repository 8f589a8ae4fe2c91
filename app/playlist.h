// The playlist: rows of the list gadget and the entries of playlist_store,
// always in step (row i shows entry i's player path), and the editing commands.
#pragma once

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
