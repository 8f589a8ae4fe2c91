// A toolbar button's picture on GTK, sharp at every scale the screen has.
#pragma once

#include <gtk/gtk.h>

// An image widget showing the picture where the screen shows one device pixel
// per unit, and the double picture (twice the width and height; may be null)
// where it shows two or more. It keeps its own references to both and
// follows its scale factor as it changes.
GtkWidget* toolbar_picture_new(GdkPixbuf* picture, GdkPixbuf* double_picture);
