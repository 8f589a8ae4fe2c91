// Text conversion at the GTK boundary.
#include <glib.h>

#include <cstring>

#include "runtime/gui/gtk/gui_gtk.h"
#include "runtime/text/text.h"

std::string utf8_of(const char16_t* text) {
    if (!text) return {};
    static_assert(sizeof(gunichar2) == sizeof(char16_t));
    gchar* converted = g_utf16_to_utf8(reinterpret_cast<const gunichar2*>(text), -1, nullptr, nullptr, nullptr);
    std::string result = converted ? converted : "";
    g_free(converted);
    return result;
}

char16_t* text_from_utf8(const char* text, int position) {
    glong count = 0;
    gunichar2* converted = g_utf8_to_utf16(text ? text : "", -1, nullptr, &count, nullptr);
    if (!converted) count = 0;
    char16_t* result = text_builder_reserve(static_cast<int>(count), position);
    if (count > 0) std::memcpy(result, converted, static_cast<std::size_t>(count) * sizeof(char16_t));
    result[count] = 0;  // the builder keeps room for the terminator
    g_free(converted);
    return result;
}
