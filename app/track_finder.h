// The local files behind the lines of an opened playlist: the tracks the
// player would play, where they are on this computer.
#pragma once

#include <string>
#include <string_view>

// Where a playlist file lies: the root of its volume as a local path, and
// its folder as the player sees it.
struct PlaylistPlace {
    std::u16string volume_root;  // "E:\", "/media/me/PLAYER/"; empty when unknown
    std::u16string folder;       // "/Playlists"; empty for the root
};

PlaylistPlace PlaceOfPlaylist(const char16_t* playlist_path);

// The existing local file the line names, or empty when the line names no
// track or its file is not here. One look-up on disk at most.
std::u16string LocalTrackFor(const PlaylistPlace& place, std::u16string_view line);
