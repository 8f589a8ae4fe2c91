#include "app/folder_listings.h"

#include <algorithm>

#include "app/track_location.h"

int FolderListings::KnownKind(std::u16string_view volume_root, std::u16string_view player_path) {
    const std::size_t cut = player_path.find_last_of(u'/');
    // An empty part ("//") is left to the system, which reads it its own way.
    if (cut == std::u16string_view::npos || cut + 1 == player_path.size() ||
        std::adjacent_find(player_path.begin(), player_path.end(),
                           [](char16_t a, char16_t b) { return a == u'/' && b == u'/'; }) != player_path.end())
        return FILE_KIND_NONE;
    const std::u16string_view folder = player_path.substr(0, cut);
    if (!last_ || folder != last_folder_ || volume_root != last_root_) {
        LocalPathOf(folder, volume_root, folder_);
        last_ = &folders_[folder_];
        last_folder_.assign(folder);
        last_root_.assign(volume_root);
    }
    Listing& listing = *last_;
    // A folder of one row costs that row's look, not a listing of it.
    if (++listing.asked < 2) return FILE_KIND_NONE;
    if (!listing.read) {
        listing.read = true;
        listing.visit = visit_;
        file_list_folder(folder_.c_str(), entries_);
        listing.kinds.reserve(entries_.size());
        for (FileFolderEntry& entry : entries_)
            if (entry.kind != FILE_KIND_NONE) listing.kinds.emplace(std::move(entry.name), entry.kind);
    } else if (listing.visit != visit_) {
        listing.visit = visit_;
        if (file_kind(folder_.c_str()) != FILE_KIND_FOLDER) listing.kinds.clear();
    }
    name_.assign(player_path.substr(cut + 1));
    auto found = listing.kinds.find(name_);
    return found == listing.kinds.end() ? FILE_KIND_NONE : found->second;
}
