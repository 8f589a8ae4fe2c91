// Native images on GTK: every image is a GdkPixbuf made by a registered
// decoder. Bitmap and icon files, which only the reference platform's
// resources use, are not recognised here.
#include <gdk-pixbuf/gdk-pixbuf.h>

#include <utility>

#include "runtime/image/image_codecs.h"
#include "runtime/image/image_native.h"

namespace {

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

}  // namespace

bool image_native_make(const void* data, std::size_t size, ImageRecord& record) {
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

void image_native_destroy(std::intptr_t handle) { g_object_unref(reinterpret_cast<GdkPixbuf*>(handle)); }
