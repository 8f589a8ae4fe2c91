// The platform's part of the volume operations: where a path's volume starts.
#pragma once

#include <string>
#include <string_view>

struct VolumePlace {
    std::u16string root;  // the path to the volume, ending in its separator
    std::u16string rest;  // what follows the root in the path (the real path on Linux)
};

// Both empty when the path names no volume.
VolumePlace file_volume_place(const char16_t* path);
// The player's paths of files joined by LF, joined by LF in their order,
// before their separators become "/".
std::u16string file_volume_player_paths(std::u16string_view paths);
