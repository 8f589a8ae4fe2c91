// A folder's names as stored, with their kinds, in a table for finding a
// name: the rows of a folder of thousands look their names up in it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct FolderNames {
    // The names back to back, and a place for each, by hash (open addressing):
    // a look-up then reads two places in memory, not a record and a string.
    struct Place {
        std::uint32_t hash = 0;
        std::uint32_t start = 0;
        std::uint32_t length = 0;  // 0 for an empty place
        int kind = 0;
    };
    std::u16string text;
    std::vector<Place> places;

    // The folder's listing; no names when it cannot be read.
    static FolderNames Read(const std::u16string& folder);

    // The kind the listing gives the name, spelled as stored; FILE_KIND_NONE
    // for a name not there, or one only the system can tell about.
    int KindOf(std::u16string_view name) const;
};
