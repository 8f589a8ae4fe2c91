// Tool tips for gadgets: GTK shows a widget's tool-tip text itself and owns
// the pop-up that shows it.
#include <gtk/gtk.h>

#include "runtime/gui/gadget.h"
#include "runtime/gui/gtk/gui_gtk.h"

void gadget_tooltip(ObjectNumber number, const char16_t* text) {
    auto* widget = reinterpret_cast<GtkWidget*>(gadget_handle(number));
    if (widget) gtk_widget_set_tooltip_text(widget, utf8_of(text).c_str());
}

// Nothing of the thread's to destroy: the pop-ups are GTK's.
void gadget_end() {}
