// The program's start-up, main loop and shutdown.
#pragma once

#include "runtime/core/object_table.h"

// Sets the application state to its start values and creates the playlist store.
void InitApplicationState();
void FitListToWindow();
// The answer to the current close event: true when the program should end.
// Unsaved rows are never lost: a save that did not happen keeps it running.
bool CloseAccepted();
// Runs until the close request of the main window is accepted.
void RunMainLoop();
// What a menu event runs: the command of the toolbar button with that item
// (a click or its key), or a key's own.
void RunToolbarCommand(ObjectNumber item);
