// Files dragged onto the program as from the desktop's file manager: another
// program (tests/support/gtk_file_source) shows a small window at a corner
// of the screen, and the person drags from it through the X drag protocol.
#pragma once

#include <string>
#include <vector>

#include "tests/support/x_person.h"

// Drags the files from the source onto the point of the screen and drops
// them there; false when the source did not come up.
bool drag_files(XPerson& person, const std::vector<std::string>& paths, int to_x, int to_y);
// The same with a list the source sends byte for byte as its text/uri-list.
bool drag_uri_list(XPerson& person, const std::string& list, int to_x, int to_y);
