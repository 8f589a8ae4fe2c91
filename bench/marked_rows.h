// What both playlist benchmarks draw: the program's list with many marked rows.
#pragma once

// Empties the program's list and fills it with that many rows, every other
// one marked (a notice and a problem in turns), each mark with a tip.
void fill_marked_rows(int rows);
