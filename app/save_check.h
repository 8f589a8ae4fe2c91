// Before a playlist is written: rows the player will not play as written are
// named, and the person chooses to fix what can be fixed, to save as it is,
// or to go back to the list.
#pragma once

// True when the save goes on (every row plays, or the person chose to save,
// with or without the fix); false leaves everything as it was.
bool RowsReadyToSave();

// Rewrites each row that the player plays only through its fallback to the
// path it finds, which every player finds as written. The number rewritten.
int FixFallbackRows();
