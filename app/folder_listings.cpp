#include "app/folder_listings.h"

#include <algorithm>
#include <system_error>

#include "app/track_location.h"
#include "runtime/file/file.h"

void FolderListings::Forget() {
    // A listing still being read is waited for as its future goes.
    folders_.clear();
    last_ = nullptr;
    in_flight_ = nullptr;
}

FolderListings::Listing* FolderListings::Find(std::u16string_view volume_root, std::u16string_view player_path,
                                              std::u16string_view& name) {
    const std::size_t cut = player_path.find_last_of(u'/');
    // An empty part ("//") is left to the system, which reads it its own way.
    if (cut == std::u16string_view::npos || cut + 1 == player_path.size() ||
        std::adjacent_find(player_path.begin(), player_path.end(),
                           [](char16_t a, char16_t b) { return a == u'/' && b == u'/'; }) != player_path.end())
        return nullptr;
    const std::u16string_view folder = player_path.substr(0, cut);
    if (!last_ || folder != last_folder_ || volume_root != last_root_) {
        LocalPathOf(folder, volume_root, folder_);
        last_ = &folders_[folder_];
        last_folder_.assign(folder);
        last_root_.assign(volume_root);
    }
    name = player_path.substr(cut + 1);
    return last_;
}

void FolderListings::Expect(std::u16string_view volume_root, std::u16string_view player_path) {
    std::u16string_view name;
    Listing* listing = Find(volume_root, player_path, name);
    if (!listing || listing->read || listing->reading.valid() || ++listing->expected < 2) return;
    if (in_flight_ && in_flight_->reading.wait_for(std::chrono::seconds(0)) != std::future_status::ready) return;
    try {
        listing->reading = std::async(std::launch::async, [folder = folder_] { return FolderNames::Read(folder); });
    } catch (const std::system_error&) {
        return;  // no thread to spare: KnownKind reads the listing itself
    }
    listing->visit = visit_;
    in_flight_ = listing;
}

bool FolderListings::Ready(std::u16string_view volume_root, std::u16string_view player_path,
                           std::chrono::steady_clock::time_point until) {
    std::u16string_view name;
    const Listing* listing = Find(volume_root, player_path, name);
    return !listing || !listing->reading.valid() || listing->reading.wait_until(until) == std::future_status::ready;
}

void FolderListings::Take(Listing& listing) {
    listing.names = listing.reading.get();
    listing.read = true;
    if (in_flight_ == &listing) in_flight_ = nullptr;
}

int FolderListings::KnownKind(std::u16string_view volume_root, std::u16string_view player_path) {
    std::u16string_view name;
    Listing* listing = Find(volume_root, player_path, name);
    if (!listing) return FILE_KIND_NONE;
    if (!listing->read && !listing->reading.valid()) {
        // A folder of one row costs that row's look, not a listing of it.
        if (++listing->asked < 2) return FILE_KIND_NONE;
        listing->names = FolderNames::Read(folder_);
        listing->read = true;
        listing->visit = visit_;
    }
    return KindIn(*listing, name);
}

int FolderListings::ListedKind(std::u16string_view volume_root, std::u16string_view player_path) {
    std::u16string_view name;
    Listing* listing = Find(volume_root, player_path, name);
    return listing && (listing->read || listing->reading.valid()) ? KindIn(*listing, name) : FILE_KIND_NONE;
}

int FolderListings::KindIn(Listing& listing, std::u16string_view name) {
    if (listing.reading.valid()) Take(listing);
    if (listing.visit != visit_) {
        listing.visit = visit_;
        if (file_kind(folder_.c_str()) != FILE_KIND_FOLDER) listing.names = {};
    }
    return listing.names.KindOf(name);
}
