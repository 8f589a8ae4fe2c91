// Playback of the playlist's tracks: one song at a time as movie 0, the Play
// and Pause buttons as the only display, and the volume pop-up.
#pragma once

void PlayFile(const char16_t* path);
void PlaySelectedSong();
// A double click on a row: Play for that row, in place of a song playing or paused.
void PlayClickedSong();
void TogglePause();
void StopSong();
void NextSong();
void PreviousSong();
void ChangeVolume();
int ShowVolumePopup(int x, int y);

// Whether the media service started; without it every playback command is a no-op.
void SetMediaAvailable(bool available);
