// The native program started as a process of its own, with its toolbar and
// list as a person sees them.
#pragma once

#include "tests/scenario/gtk/playlist_view.h"
#include "tests/scenario/gtk/program_process.h"
#include "tests/scenario/gtk/toolbar_probe.h"
#include "tests/support/x_person.h"

struct Session {
    NativeProgram program;
    Toolbar toolbar;
    PlaylistView list;
    Session(XPerson& person, const ProgramStart& start)
        : program(person, start), toolbar(person, program.main_window), list(person, program.main_window) {}
    // Started, its boxes answered, its main window and toolbar seen.
    bool ready() const { return program.main_window != 0 && toolbar.complete(); }
};
