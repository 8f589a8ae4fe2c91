// The program's start-up, main loop and shutdown.
#pragma once

// Sets the application state to its start values and creates the playlist store.
void InitApplicationState();
void FitListToWindow();
// The answer to the current close event: true when the program should end.
// Unsaved rows are never lost: a save that did not happen keeps it running.
bool CloseAccepted();
// Runs until the close request of the main window is accepted.
void RunMainLoop();
