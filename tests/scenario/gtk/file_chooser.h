// The program's file chooser, answered as a person would: the chooser
// focused, Ctrl+L for the place to type a location (typing "/" first would
// open it and lose that character), Ctrl+A so that the typed path replaces
// all of a proposed name, the path typed, Return.
#pragma once

#include <string>

#include "tests/support/x_person.h"

// Types the path into the chooser of that title once it is shown and
// presses Return; false when no such chooser came.
bool type_into_chooser(XPerson& person, const std::string& title, const std::string& path);
// The same, then waits until the chooser is gone; false when it stayed.
bool choose_file(XPerson& person, const std::string& title, const std::string& path);
// Keeps the name a save chooser proposes and puts the folder before it (the
// cursor taken to the start of the name, the folder and a "/" typed), then
// Return; true once the chooser is gone.
bool save_proposed_name_in(XPerson& person, const std::string& title, const std::string& folder);
// Escape, as a person who changed their mind; true once the chooser is gone.
bool cancel_chooser(XPerson& person, const std::string& title);
