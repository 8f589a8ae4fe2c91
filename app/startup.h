// The program's start-up, main loop and shutdown.
#pragma once

// Sets the application state to its start values and creates the playlist store.
void InitApplicationState();
void FitListToWindow();
// Runs until the close request of the main window is accepted.
void RunMainLoop();
