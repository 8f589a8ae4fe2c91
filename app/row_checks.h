// The player check of the program's rows: what the player will do with each
// row of the list, kept up to date as rows are opened, dropped and edited,
// and shown on the rows as marks with tips. The check runs in slices between
// the main loop's events, so the window keeps answering while it works.
#pragma once

#include <string>
#include <vector>

#include "app/player_check.h"

// The rows from this one on need checking again (an edit there changes what
// the player does with them and, through the playlist's order, with every
// later one).
void CheckRowsFrom(int row);

// Whether rows still wait for their check.
bool RowCheckPending();

// Checks the next rows, a few thousand at most, or fewer when they take
// longer than a moment; rows are read ahead while a folder's listing is read
// on a thread of its own. The main loop calls it while no event is waiting.
void CheckNextRows();

// Runs the check to its end and gives each row's verdict, in row order.
const std::vector<RowCheck>& CheckAllRows();

// Whether the player plays the row as written (a comment or an empty line
// counts: it asks nothing of the player).
bool PlaysAsWritten(const RowCheck& check);

// Why the player does not play the row as written, in a few words.
std::u16string CheckReason(const RowCheck& check);

// The player's view of the playlist the rows are checked against.
const PlaylistOnPlayer& CheckedPlaylist();
