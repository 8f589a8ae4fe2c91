#include "runtime/gui/drop_files_text.h"

#include <climits>
#include <cstring>

#include "runtime/gui/drop_file_list.h"
#include "runtime/text/text.h"

namespace {

// The text builder refuses (ends the process) beyond this many characters;
// a list that long is refused here instead.
constexpr std::size_t MAX_TEXT_CHARACTERS = INT_MAX / 4;

char16_t* empty_text() {
    char16_t* text = text_builder_reserve(0, -1);
    *text = u'\0';
    return text;
}

}  // namespace

char16_t* drop_files_text(const DropRecord* record, NarrowNames narrow) {
    if (!record || !record->data || record->format != DROP_FORMAT_FILES) return empty_text();
    DropFileList list{};
    if (!drop_file_list_check(record->data, record->size, &list) || list.count == 0) return empty_text();
    if (!list.wide && !narrow) return empty_text();
    // Every name at most as long as the list holds it (8-bit names never
    // grow in UTF-16), plus one LF between names.
    const std::size_t room = list.characters + (list.count - 1);
    if (room > MAX_TEXT_CHARACTERS) return empty_text();

    // One pass over the checked block: looking each name up from the start
    // made large drops quadratic.
    const auto* bytes = static_cast<const unsigned char*>(record->data);
    char16_t* text = text_builder_reserve(static_cast<int>(room), -1);
    std::size_t written = 0;
    std::size_t at = list.first;
    for (std::size_t i = 0; i < list.count; ++i) {
        const std::size_t start = at;
        const std::size_t length = drop_file_list_next(record->data, record->size, list, &at);
        if (list.wide) {
            std::memcpy(text + written, bytes + start, length * sizeof(char16_t));
            written += length;
        } else if (length > 0) {
            written += narrow(reinterpret_cast<const char*>(bytes + start), length, text + written, room - written);
        }
        if (i + 1 < list.count && written < room) text[written++] = u'\n';
    }
    text[written] = u'\0';
    text_builder_release(static_cast<int>(room - written));
    return text;
}
