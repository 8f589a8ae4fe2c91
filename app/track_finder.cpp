#include "app/track_finder.h"

#include <algorithm>

#include "app/built_text.h"
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
