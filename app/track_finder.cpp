#include "app/track_finder.h"

#include <algorithm>

#include "app/player_check.h"
#include "runtime/file/file.h"

TrackFinder::TrackFinder(const char16_t* playlist_path, LineStorage storage) : storage_(storage) {
    Text root = Built([playlist_path] { file_volume_root(playlist_path, -1); });
    Text from_root = Built([playlist_path] { file_volume_path(playlist_path, -1); });
    volume_root_ = root.c_str();
    folder_ = from_root.c_str();
    folder_.erase(std::min(folder_.size(), folder_.find_last_of(u'/')));
}

const char16_t* TrackFinder::LocalPathFor(std::u16string_view line) {
    if (volume_root_.empty() || PlayerTrackPath(line, folder_, storage_, player_path_) != LineReading::path)
        return u"";
    LocalPathOf(player_path_, volume_root_, local_path_);
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
