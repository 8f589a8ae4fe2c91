// Enlarging a 16-pixel icon for a scale-2 screen blurs it; the double picture,
// drawn at that size, is shown in the same 16-unit place with device scale 2.
// At scale 1 the picture itself is shown, pixel for pixel.
#include "runtime/gui/gtk/toolbar_picture.h"

namespace {

// Object data on the image widget: the two pictures it chooses from.
constexpr char PICTURE_PROPERTY[] = "qx_picture";
constexpr char DOUBLE_PICTURE_PROPERTY[] = "qx_picture_double";

void show_for_scale(GtkImage* image) {
    auto* picture = static_cast<GdkPixbuf*>(g_object_get_data(G_OBJECT(image), PICTURE_PROPERTY));
    auto* sharp = static_cast<GdkPixbuf*>(g_object_get_data(G_OBJECT(image), DOUBLE_PICTURE_PROPERTY));
    if (!sharp || gtk_widget_get_scale_factor(GTK_WIDGET(image)) < 2) {
        gtk_image_set_from_pixbuf(image, picture);
        return;
    }
    cairo_surface_t* surface = gdk_cairo_surface_create_from_pixbuf(sharp, 2, nullptr);
    gtk_image_set_from_surface(image, surface);
    cairo_surface_destroy(surface);
}

void on_scale_changed(GObject* image, GParamSpec*, gpointer) { show_for_scale(GTK_IMAGE(image)); }

}  // namespace

GtkWidget* toolbar_picture_new(GdkPixbuf* picture, GdkPixbuf* double_picture) {
    GtkWidget* image = gtk_image_new();
    g_object_set_data_full(G_OBJECT(image), PICTURE_PROPERTY, g_object_ref(picture), g_object_unref);
    if (double_picture)
        g_object_set_data_full(G_OBJECT(image), DOUBLE_PICTURE_PROPERTY, g_object_ref(double_picture),
                               g_object_unref);
    show_for_scale(GTK_IMAGE(image));
    g_signal_connect(image, "notify::scale-factor", G_CALLBACK(on_scale_changed), nullptr);
    return image;
}
