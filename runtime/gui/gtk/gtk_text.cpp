// Text conversion at the GTK boundary, by the runtime's own converter: the
// same results as in files (a lone surrogate or a malformed byte becomes
// U+FFFD), and no allocation beyond the result.
#include <cstring>
#include <string>

#include "runtime/file/utf8.h"
#include "runtime/gui/gtk/gui_gtk.h"
#include "runtime/text/text.h"

std::string utf8_of(const char16_t* text) {
    if (!text) return {};
    const std::size_t length = std::char_traits<char16_t>::length(text);
    std::string result(3 * length, '\0');
    result.resize(utf8_encode(text, length, reinterpret_cast<unsigned char*>(result.data())));
    return result;
}

// Decoded straight into the builder: at most one character for every byte.
char16_t* text_from_utf8(const char* text, int position) {
    const char* bytes = text ? text : "";
    const std::size_t length = std::strlen(bytes);
    char16_t* result = text_builder_reserve(static_cast<int>(length), position);
    const std::size_t count = utf8_decode(reinterpret_cast<const unsigned char*>(bytes), length, result);
    result[count] = 0;  // the builder keeps room for the terminator
    text_builder_release(static_cast<int>(length - count));
    return result;
}
