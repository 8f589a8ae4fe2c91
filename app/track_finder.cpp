#include "app/track_finder.h"

#include "runtime/file/file.h"

TrackFinder::TrackFinder(const char16_t* playlist_path, LineStorage storage)
    : playlist_(PlaylistOnPlayerAt(playlist_path, storage)) {}

const char16_t* TrackFinder::LocalPathFor(std::u16string_view line) {
    if (playlist_.volume_root.empty() ||
        PlayerTrackPath(line, playlist_.folder, playlist_.storage, player_path_) != LineReading::path)
        return u"";
    LocalPathOf(player_path_, playlist_.volume_root, local_path_);
    return local_path_.c_str();
}

Text FileToPlay(const char16_t* local_path, const char16_t* playlist_path) {
    if (file_kind(local_path) == FILE_KIND_FILE) return local_path;
    Text volume = Built([playlist_path] { file_volume_root(playlist_path, -1); });
    std::u16string_view root = volume.c_str();
    std::u16string_view local = local_path ? local_path : u"";
    if (root.empty() || local.substr(0, root.size()) != root) return local_path;
    PlayerLookup lookup = LookUpOnPlayer(root, PlayerPathOf(local, root));
    return lookup.local.empty() ? local_path : lookup.local.c_str();
}
