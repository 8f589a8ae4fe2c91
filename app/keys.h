// The main window's keys: each runs what its toolbar button runs, with the
// same prompts and boxes; Space, which no button has, plays the selected song
// or pauses the one playing.
#pragma once

// The menu item Space arrives as, after the toolbar's items.
inline constexpr int KeyPlayOrPause = 15;

// Gives the main window its keys; at start-up, once the window is open.
void RegisterKeys();
void PlayOrPause();
