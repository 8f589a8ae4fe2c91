// Files dragged onto this test program's GTK windows as from a file manager:
// the stand-in (tests/support/gtk_file_source) offers them in a window of its
// own, the pointer presses on them there, moves to the point through the X
// server and lets go, while this program's main loop runs so that its drop
// target takes its part of the X drag protocol.
#pragma once

#include <string>
#include <vector>

class Desktop;

// False when the source did not come up.
bool drag_files_to(Desktop& desktop, const char* source_program, int to_x, int to_y,
                   const std::vector<std::string>& files);
