// What the GTK image table gives the rest of the GTK back end.
#pragma once

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <cstdint>

// The pixbuf of the live image whose handle this is, or nullptr: a handle
// from the program is looked up among the images made, never trusted.
GdkPixbuf* image_pixbuf_of_handle(std::intptr_t handle);
