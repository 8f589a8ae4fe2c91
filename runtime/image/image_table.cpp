// The image table, for every back end: numbered and dynamic images, replacing
// and freeing them, and their records. The back end makes and destroys the
// native images (image_native.h).
#include <optional>

#include "runtime/image/image.h"
#include "runtime/image/image_native.h"

namespace {

std::optional<ObjectTable<ImageRecord>> table;

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
    if (!data || !image_native_make(data, size, made)) {
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
    image_native_destroy(record->handle);
    table->release(number);
}

void image_free_all() { image_free(-1); }

ImageRecord image_record(ObjectNumber number) {
    if (!table) return ImageRecord{};
    std::lock_guard guard(table->lock());
    const ImageRecord* record = table->find(number);
    return record ? *record : ImageRecord{};
}

bool image_handle_live(std::intptr_t handle) {
    if (!table || !handle) return false;
    bool live = false;
    table->for_each_live([&](ObjectNumber, const ImageRecord& record) { live = live || record.handle == handle; });
    return live;
}
