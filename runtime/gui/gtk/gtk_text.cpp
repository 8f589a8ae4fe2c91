// Text conversion at the GTK boundary.
#include <glib.h>

#include "runtime/gui/gtk/gui_gtk.h"

std::string utf8_of(const char16_t* text) {
    if (!text) return {};
    static_assert(sizeof(gunichar2) == sizeof(char16_t));
    gchar* converted = g_utf16_to_utf8(reinterpret_cast<const gunichar2*>(text), -1, nullptr, nullptr, nullptr);
    std::string result = converted ? converted : "";
    g_free(converted);
    return result;
}
