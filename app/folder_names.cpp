#include "app/folder_names.h"

#include "runtime/file/file.h"

namespace {

// FNV-1a over the name's code units.
std::uint32_t HashOf(std::u16string_view name) {
    std::uint32_t hash = 2166136261u;
    for (char16_t unit : name) hash = (hash ^ unit) * 16777619u;
    return hash;
}

}  // namespace

FolderNames FolderNames::Read(const std::u16string& folder) {
    std::vector<FileFolderEntry> entries;
    file_list_folder(folder.c_str(), entries);
    FolderNames names;
    std::size_t size = 1;
    while (size < 2 * entries.size()) size *= 2;
    names.places.resize(entries.empty() ? 0 : size);
    for (const FileFolderEntry& entry : entries) {
        if (entry.kind == FILE_KIND_NONE) continue;
        const std::uint32_t hash = HashOf(entry.name);
        std::size_t at = hash & (size - 1);
        while (names.places[at].length != 0) at = (at + 1) & (size - 1);
        names.places[at] = {hash, static_cast<std::uint32_t>(names.text.size()),
                            static_cast<std::uint32_t>(entry.name.size()), entry.kind};
        names.text += entry.name;
    }
    return names;
}

int FolderNames::KindOf(std::u16string_view name) const {
    if (places.empty() || name.empty()) return FILE_KIND_NONE;
    const std::uint32_t hash = HashOf(name);
    const std::size_t mask = places.size() - 1;
    for (std::size_t at = hash & mask; places[at].length != 0; at = (at + 1) & mask) {
        const Place& place = places[at];
        if (place.hash == hash && place.length == name.size() &&
            std::u16string_view(text).substr(place.start, place.length) == name)
            return place.kind;
    }
    return FILE_KIND_NONE;
}
