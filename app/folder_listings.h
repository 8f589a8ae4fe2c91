// The listings of the folders one pass of the player check looks in, so that
// the rows of a folder cost one look at it instead of one each: a question to
// the system costs several microseconds under Wine, more than Open's whole
// work for a row.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "runtime/file/file.h"

class FolderListings {
public:
    // What file_kind says of a player path under the volume's root, from its
    // folder's listing: FILE_KIND_FILE or FILE_KIND_FOLDER for a name there
    // as written; FILE_KIND_NONE when the listing cannot tell (a name not
    // there as written, which the system may still find in other letters, or
    // a folder asked about only once), and the system must be asked.
    int KnownKind(std::u16string_view volume_root, std::u16string_view player_path);

    // Forgets every listing, so that files added or removed since are seen.
    void Forget() {
        folders_.clear();
        last_ = nullptr;
    }

    // Between slices of a pass a card may be pulled out or a folder removed:
    // before a listing answers again, its folder is asked once whether it is
    // still there, and without it every name is asked of the system.
    void Revisit() { ++visit_; }

private:
    struct Listing {
        int asked = 0;
        bool read = false;
        int visit = 0;  // the visit that last saw the folder there
        std::unordered_map<std::u16string, int> kinds;  // name as stored -> file or folder
    };
    std::unordered_map<std::u16string, Listing> folders_;  // by the folder's local path
    int visit_ = 0;
    // The folder last asked about, which the next row most often shares:
    // its player path, volume and listing; folder_ is its local path.
    Listing* last_ = nullptr;
    std::u16string last_folder_;
    std::u16string last_root_;
    std::u16string folder_;
    std::u16string name_;
    std::vector<FileFolderEntry> entries_;
};
