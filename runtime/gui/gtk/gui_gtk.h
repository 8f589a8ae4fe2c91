// What the GTK window, event and gadget code share inside the back end.
#pragma once

#include <gtk/gtk.h>

#include <string>

#include "runtime/core/object_table.h"

// Object data the runtime sets on its windows: the window number + 1.
inline constexpr char WINDOW_ID_PROPERTY[] = "QX_WindowID";

// UTF-16 inside the runtime, UTF-8 at the GTK boundary; a null text is empty.
std::string utf8_of(const char16_t* text);
// A UTF-8 text converted into the calling thread's text builder at position.
char16_t* text_from_utf8(const char* text, int position);

// The runtime window a widget belongs to: its toplevel's number, or -1.
ObjectNumber window_number_of(GtkWidget* widget);
// The runtime window whose native handle this is, or nullptr: a handle that
// came from the program is checked against the open windows, never trusted.
GtkWidget* window_of_handle(std::intptr_t handle);

// The calling thread's current gadget parent: the container new gadgets go
// into. window_open sets it (unless told not to); closing that window clears it.
void gadget_parent_set(GtkWidget* container);
GtkWidget* gadget_parent();
