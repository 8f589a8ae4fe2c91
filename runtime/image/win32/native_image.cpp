// Native images on Windows: image_catch's choice among the three kinds of
// data, and the end of a bitmap or icon.
#include "runtime/image/image_native.h"
#include "runtime/image/win32/image_win32.h"

namespace {

// The way to make an image: "BM" always means a bitmap file; otherwise an
// icon directory, and when that makes no icon, the decoders.
ImageMade make_image(const unsigned char* data, std::size_t size, ImageRecord& record) {
    if (size >= 2 && data[0] == 'B' && data[1] == 'M') return bitmap_file_image(data, size, record);
    const ImageMade icon = icon_file_image(data, size, record);
    if (icon != ImageMade::not_mine) return icon;
    return decoded_image(data, size, record);
}

}  // namespace

bool image_native_make(const void* data, std::size_t size, ImageRecord& record) {
    return make_image(static_cast<const unsigned char*>(data), size, record) == ImageMade::made;
}

void image_native_destroy(std::intptr_t handle) {
    const auto object = reinterpret_cast<HGDIOBJ>(handle);
    if (GetObjectType(object) == OBJ_BITMAP)
        DeleteObject(object);
    else
        DestroyIcon(static_cast<HICON>(object));
}
