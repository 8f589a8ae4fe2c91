// The images' native side on GTK: pixbufs, R, G, B[, A] rows, which exist
// until their last reference goes.
#include "tests/image/native_image_probe.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

namespace {

int alive = 0;
void count_gone(gpointer, GObject*) { --alive; }

}  // namespace

Pixels native_pixels(std::intptr_t handle) {
    auto* image = reinterpret_cast<GdkPixbuf*>(handle);
    Pixels pixels;
    pixels.width = gdk_pixbuf_get_width(image);
    pixels.height = gdk_pixbuf_get_height(image);
    const int channels = gdk_pixbuf_get_n_channels(image);
    const guchar* data = gdk_pixbuf_read_pixels(image);
    const auto pitch = static_cast<std::size_t>(gdk_pixbuf_get_rowstride(image));
    for (int y = 0; y < pixels.height; ++y) {
        const guchar* row = data + static_cast<std::size_t>(y) * pitch;
        for (int x = 0; x < pixels.width; ++x) {
            const guchar* p = row + x * channels;
            pixels.bgra.insert(pixels.bgra.end(), {p[2], p[1], p[0], channels == 4 ? p[3] : guchar{255}});
        }
    }
    return pixels;
}

int native_depth(std::intptr_t handle) {
    auto* image = reinterpret_cast<GdkPixbuf*>(handle);
    return GDK_IS_PIXBUF(image) ? gdk_pixbuf_get_n_channels(image) * 8 : -1;
}

void native_watch(std::intptr_t handle) {
    ++alive;
    g_object_weak_ref(G_OBJECT(reinterpret_cast<GdkPixbuf*>(handle)), count_gone, nullptr);
}

int native_alive() { return alive; }
