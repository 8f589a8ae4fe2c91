// Files dragged onto this test program's GTK windows as from a file manager:
// the stand-in (tests/support/gtk_file_source) offers them in a window of its
// own, the pointer presses on them there, moves to the point through the X
// server and lets go, while this program's main loop runs so that its drop
// target takes its part of the X drag protocol.
#pragma once

#include <string>
#include <vector>

#include "tests/support/file_source_process.h"

class Desktop;

// The files picked up in the stand-in and moved onto the point, the button
// still down; held_keys (X key symbols) are held from before the press until
// they are let go. The stand-in ends with this object.
class HeldFiles {
public:
    HeldFiles(Desktop& desktop, const char* source_program, int to_x, int to_y, const std::vector<std::string>& files,
              const std::vector<unsigned long>& held_keys = {});
    // False when the source did not come up.
    bool ready() const { return source_.ready(); }
    // The button comes up, and the target has taken the data or refused it.
    void let_go();

private:
    Desktop& desktop_;
    FileSourceProcess source_;
    std::vector<unsigned long> keys_;
};

// Picks the files up, moves them onto the point and lets go. False when the
// source did not come up.
bool drag_files_to(Desktop& desktop, const char* source_program, int to_x, int to_y,
                   const std::vector<std::string>& files, const std::vector<unsigned long>& held_keys = {});
