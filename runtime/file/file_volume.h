// The platform's part of the volume operations: where a path's volume starts.
#pragma once

#include <string>

struct VolumePlace {
    std::u16string root;  // the path to the volume, ending in its separator
    std::u16string rest;  // what follows the root in the path (the real path on Linux)
};

// Both empty when the path names no volume.
VolumePlace file_volume_place(const char16_t* path);
// The player's path of a file, before its separators become "/".
std::u16string file_volume_player_path(const char16_t* path);
