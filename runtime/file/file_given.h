// The platform's part of the files the program was given: its arguments
// after its own name, each made a full path.
#pragma once

#include <string>
#include <vector>

std::vector<std::u16string> file_given_paths();
