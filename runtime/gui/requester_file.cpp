#include "runtime/gui/requester_file.h"

#include <string>

#include "runtime/gui/requester.h"
#include "runtime/gui/requester_pattern.h"
#include "runtime/text/text.h"

char16_t* requester_result(const char16_t* path) {
    const bool fits = path && std::char_traits<char16_t>::length(path) <= REQUESTER_PATH_CHARS - 1;
    text_builder_ensure();
    const int mark = text_builder_mark();
    text_builder_append(fits ? path : u"");
    return text_builder_address(mark);
}

char16_t* requester_open_file(const char16_t* title, const char16_t* default_file, const char16_t* pattern,
                              int pattern_position) {
    return requester_file(FileDialog::open, title, default_file, pattern, pattern_position);
}

char16_t* requester_save_file(const char16_t* title, const char16_t* default_file, const char16_t* pattern,
                              int pattern_position) {
    return requester_file(FileDialog::save, title, default_file, pattern, pattern_position);
}
