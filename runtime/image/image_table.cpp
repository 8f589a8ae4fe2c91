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

std::intptr_t image_catch_double(ObjectNumber number, const void* data, std::size_t size) {
    if (!table || !data) return 0;
    std::lock_guard guard(table->lock());
    ImageRecord* record = table->find(number);
    if (!record) return 0;
    ImageRecord made{};
    if (!image_native_make(data, size, made)) return 0;
    if (made.width != 2 * record->width || made.height != 2 * record->height) {
        image_native_destroy(made.handle);
        return 0;
    }
    if (record->double_handle) image_native_destroy(record->double_handle);
    record->double_handle = made.handle;
    return made.handle;
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
    if (record->double_handle) image_native_destroy(record->double_handle);
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

std::intptr_t image_double_of(std::intptr_t handle) {
    if (!table || !handle) return 0;
    std::intptr_t found = 0;
    table->for_each_live([&](ObjectNumber, const ImageRecord& record) {
        if (record.handle == handle) found = record.double_handle;
    });
    return found;
}
