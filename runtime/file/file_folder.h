// The platform's part of a folder's listing.
#pragma once

#include <vector>

#include "runtime/file/file.h"

// Adds the folder's names, but "." and "..", with their kinds to entries: 0
// when the whole folder was read, else the platform's error code.
int file_folder_read(const char16_t* folder, std::vector<FileFolderEntry>& entries);
