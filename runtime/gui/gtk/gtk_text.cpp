// Text conversion at the GTK boundary.
#include <glib.h>

#include <cstring>
#include <vector>

#include "runtime/file/utf8.h"
#include "runtime/gui/gtk/gui_gtk.h"
#include "runtime/text/text.h"

// The runtime's own encoder: a lone surrogate (a file name's stray byte)
// shows as U+FFFD instead of emptying the whole text, as GLib's would.
std::string utf8_of(const char16_t* text) {
    std::vector<unsigned char> bytes;
    const std::size_t length = text_to_utf8(text, bytes);
    return std::string(reinterpret_cast<const char*>(bytes.data()), length);
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
