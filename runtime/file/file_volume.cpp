// Volume roots and paths from a volume's root, on the platform's answer of
// where the volume starts.
#include "runtime/file/file_volume.h"

#include "runtime/file/file.h"
#include "runtime/text/text.h"

namespace {

char16_t* build(const std::u16string& text, int position) {
    char16_t* out = text_builder_reserve(static_cast<int>(text.size()), position);
    text.copy(out, text.size());
    out[text.size()] = 0;
    return out;
}

std::u16string with_slashes(std::u16string path) {
    for (char16_t& c : path)
        if (c == u'\\') c = u'/';
    return path;
}

}  // namespace

char16_t* file_volume_root(const char16_t* path, int position) { return build(file_volume_place(path).root, position); }

char16_t* file_volume_path(const char16_t* path, int position) {
    VolumePlace place = file_volume_place(path);
    return build(place.root.empty() ? u"" : with_slashes(u"/" + place.rest), position);
}

char16_t* file_player_paths(const char16_t* paths, int position) {
    return build(with_slashes(file_volume_player_paths(paths ? paths : u"")), position);
}
