// The image table and image_catch's choice among the three kinds of data.
#include <optional>

#include "runtime/image/win32/image_win32.h"

namespace {

std::optional<ObjectTable<ImageRecord>> table;

// The way to make an image: "BM" always means a bitmap file; otherwise an
// icon directory, and when that makes no icon, the decoders.
ImageMade make_image(const unsigned char* data, std::size_t size, ImageRecord& record) {
    if (size >= 2 && data[0] == 'B' && data[1] == 'M') return bitmap_file_image(data, size, record);
    const ImageMade icon = icon_file_image(data, size, record);
    if (icon != ImageMade::not_mine) return icon;
    return decoded_image(data, size, record);
}

}  // namespace

bool image_init() {
    if (!table) table.emplace(16, image_free);
    return true;
}

std::intptr_t image_catch(ObjectNumber number, const void* data, std::size_t size) {
    if (!table) return 0;
    std::lock_guard guard(table->lock());
    ImageRecord* entry = table->acquire(number);
    if (!entry) return 0;
    ImageRecord made{};
    if (!data || make_image(static_cast<const unsigned char*>(data), size, made) != ImageMade::made) {
        if (number == DYNAMIC_ID) table->release(table->number_of(entry));
        return 0;
    }
    *entry = made;
    return number == DYNAMIC_ID ? table->number_of(entry) : made.handle;
}

void image_free(ObjectNumber number) {
    if (!table) return;
    if (number == -1) {
        table->release_all();
        return;
    }
    std::lock_guard guard(table->lock());
    const ImageRecord* record = table->find(number);
    if (!record) return;
    const auto handle = reinterpret_cast<HGDIOBJ>(record->handle);
    if (GetObjectType(handle) == OBJ_BITMAP)
        DeleteObject(handle);
    else
        DestroyIcon(static_cast<HICON>(handle));
    table->release(number);
}

void image_free_all() { image_free(-1); }

ImageRecord image_record(ObjectNumber number) {
    if (!table) return ImageRecord{};
    std::lock_guard guard(table->lock());
    const ImageRecord* record = table->find(number);
    return record ? *record : ImageRecord{};
}
