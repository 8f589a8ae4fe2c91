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

}  // namespace

char16_t* file_volume_root(const char16_t* path, int position) { return build(file_volume_place(path).root, position); }

char16_t* file_volume_path(const char16_t* path, int position) {
    VolumePlace place = file_volume_place(path);
    if (place.root.empty()) return build(u"", position);
    std::u16string from_root = u"/" + place.rest;
    for (char16_t& c : from_root)
        if (c == u'\\') c = u'/';
    return build(from_root, position);
}
