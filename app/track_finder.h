// The local files behind the lines of an opened playlist: the tracks the
// player would play, where they would be on this computer.
#pragma once

#include <string>
#include <string_view>

class TrackFinder {
public:
    // Where the playlist file lies: the root of its volume, and its folder
    // as the player sees it.
    explicit TrackFinder(const char16_t* playlist_path);

    // The local file the line names ("" when it names no track), valid until
    // the next call. The disk is not asked: a playlist of thousands of tracks
    // opens without a look-up per row, and a track that is not here fails to
    // load when played, which plays nothing, as for any row without a file.
    const char16_t* LocalPathFor(std::u16string_view line);

private:
    std::u16string volume_root_;  // "E:\", "/media/me/PLAYER/"; empty when unknown
    std::u16string folder_;       // "/Playlists"; empty for the root
    std::u16string player_path_;  // room reused for every line
    std::u16string local_path_;
};
