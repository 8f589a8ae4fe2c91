// The listings of the folders one pass of the player check looks in, so that
// the rows of a folder cost one look at it instead of one each: a question to
// the system costs several microseconds under Wine, more than Open's whole
// work for a row.
#pragma once

#include <chrono>
#include <future>
#include <string>
#include <string_view>
#include <unordered_map>

#include "app/folder_names.h"

class FolderListings {
public:
    // What file_kind says of a player path under the volume's root, from its
    // folder's listing: FILE_KIND_FILE or FILE_KIND_FOLDER for a name there
    // as written; FILE_KIND_NONE when the listing cannot tell (a name not
    // there as written, which the system may still find in other letters, or
    // a folder asked about only once), and the system must be asked. A
    // listing being read is waited for.
    int KnownKind(std::u16string_view volume_root, std::u16string_view player_path);

    // KnownKind for a folder whose listing is read or being read; else
    // FILE_KIND_NONE, without counting the question.
    int ListedKind(std::u16string_view volume_root, std::u16string_view player_path);

    // Tells that the path will be asked about: from the second path expected
    // in a folder, its listing is read on a thread of its own, while the
    // rows that follow are read. One listing is read so at a time.
    void Expect(std::u16string_view volume_root, std::u16string_view player_path);

    // Whether KnownKind would answer for the path without waiting; a listing
    // being read is waited for until the time given, if it is still ahead.
    bool Ready(std::u16string_view volume_root, std::u16string_view player_path,
               std::chrono::steady_clock::time_point until = {});

    // Forgets every listing, so that files added or removed since are seen.
    // A listing still being read is waited for.
    void Forget();

    // Between slices of a pass a card may be pulled out or a folder removed:
    // before a listing answers again, its folder is asked once whether it is
    // still there, and without it every name is asked of the system.
    void Revisit() { ++visit_; }

private:
    struct Listing {
        int asked = 0;
        int expected = 0;
        bool read = false;
        int visit = 0;  // the visit that last saw the folder there
        std::future<FolderNames> reading;  // valid while read on a thread of its own
        FolderNames names;
    };

    // The listing for the path's folder, made on first use, and the path's
    // name in it; null for a path left to the system.
    Listing* Find(std::u16string_view volume_root, std::u16string_view player_path, std::u16string_view& name);
    void Take(Listing& listing);
    int KindIn(Listing& listing, std::u16string_view name);

    std::unordered_map<std::u16string, Listing> folders_;  // by the folder's local path
    int visit_ = 0;
    // The folder last found, which the next row most often shares: its
    // player path, volume and listing; folder_ is its local path.
    Listing* last_ = nullptr;
    std::u16string last_folder_;
    std::u16string last_root_;
    std::u16string folder_;
    Listing* in_flight_ = nullptr;  // the listing being read, if any, until it is taken
};
