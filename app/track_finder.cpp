#include "app/track_finder.h"

#include <algorithm>

#include "app/built_text.h"
#include "app/track_location.h"
#include "runtime/file/file.h"

PlaylistPlace PlaceOfPlaylist(const char16_t* playlist_path) {
    Text root = Built([playlist_path] { file_volume_root(playlist_path, -1); });
    Text from_root = Built([playlist_path] { file_volume_path(playlist_path, -1); });
    std::u16string folder = from_root.c_str();
    folder.erase(std::min(folder.size(), folder.find_last_of(u'/')));
    return {root.c_str(), folder};
}

std::u16string LocalTrackFor(const PlaylistPlace& place, std::u16string_view line) {
    if (place.volume_root.empty()) return {};
    std::u16string player_path = PlayerTrackPath(line, place.folder);
    if (player_path.empty()) return {};
    std::u16string local = LocalPathOf(player_path, place.volume_root);
    return file_exists(local.c_str()) ? local : std::u16string();
}
