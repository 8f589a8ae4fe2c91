// The image table on GTK: every image is a GdkPixbuf made by a registered
// decoder. Bitmap and icon files, which only the reference platform's
// resources use, are not recognised here.
#include <gdk-pixbuf/gdk-pixbuf.h>

#include <optional>

#include "runtime/image/gtk/image_gtk.h"
#include "runtime/image/image.h"
#include "runtime/image/image_codecs.h"

namespace {

std::optional<ObjectTable<ImageRecord>> table;

// The decoder writes straight into the pixbuf's rows, top row first; the
// pixbuf wants R, G, B where the decoders give B, G, R.
GdkPixbuf* decode_into_pixbuf(DecodeContext& context) {
    const bool alpha = context.depth == 32;
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, alpha, 8, context.width, context.height);
    if (!pixbuf) return nullptr;
    guchar* pixels = gdk_pixbuf_get_pixels(pixbuf);
    const auto pitch = static_cast<std::size_t>(gdk_pixbuf_get_rowstride(pixbuf));
    if (!context.decoder->read(context, pixels, pitch, 0)) {
        g_object_unref(pixbuf);
        return nullptr;
    }
    const int channels = alpha ? 4 : 3;
    for (int y = 0; y < context.height; ++y) {
        guchar* row = pixels + static_cast<std::size_t>(y) * pitch;
        for (int x = 0; x < context.width; ++x) std::swap(row[x * channels], row[x * channels + 2]);
    }
    return pixbuf;
}

bool decoded_image(const void* data, std::size_t size, ImageRecord& record) {
    DecodeContext& context = decode_context();
    if (!decode_start(context, data, size)) return false;
    GdkPixbuf* pixbuf = decode_into_pixbuf(context);
    // Closed whatever became of the pixbuf, so the decoder's state never
    // outlives a failed decode.
    context.decoder->close(context);
    if (!pixbuf) return false;
    record.handle = reinterpret_cast<std::intptr_t>(pixbuf);
    record.width = static_cast<std::uint16_t>(context.width);
    record.height = static_cast<std::uint16_t>(context.height);
    record.depth = static_cast<std::uint8_t>(context.depth);
    record.source_depth = static_cast<std::uint8_t>(context.source_depth);
    record.tag = context.decoder->tag;
    return true;
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
    if (!data || !decoded_image(data, size, made)) {
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
    g_object_unref(reinterpret_cast<GdkPixbuf*>(record->handle));
    table->release(number);
}

void image_free_all() { image_free(-1); }

ImageRecord image_record(ObjectNumber number) {
    if (!table) return ImageRecord{};
    std::lock_guard guard(table->lock());
    const ImageRecord* record = table->find(number);
    return record ? *record : ImageRecord{};
}

GdkPixbuf* image_pixbuf_of_handle(std::intptr_t handle) {
    if (!table || !handle) return nullptr;
    GdkPixbuf* found = nullptr;
    table->for_each_live([&](ObjectNumber, const ImageRecord& record) {
        if (record.handle == handle) found = reinterpret_cast<GdkPixbuf*>(record.handle);
    });
    return found;
}
