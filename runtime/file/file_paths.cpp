// Whole-file operations beside the numbered files: replacing, deleting, and
// the reason of the last failure.
#include "runtime/file/file.h"
#include "runtime/file/file_handle.h"
#include "runtime/text/text.h"

int file_replace(const char16_t* from, const char16_t* to) {
    return file_handle_replace(from, to) ? 1 : 0;
}

int file_delete(const char16_t* path) { return file_handle_delete(path) ? 1 : 0; }

char16_t* file_error_text() {
    int code = file_handle_last_error();
    constexpr int room = 512;
    char16_t* out = text_builder_reserve(room + 1, -1);
    std::size_t length = code ? file_handle_describe(code, out, room) : 0;
    out[length] = 0;
    text_builder_release(room + 1 - static_cast<int>(length));
    if (length > 0 || code == 0) return out;
    // No text from the platform: at least the code.
    int mark = text_builder_mark();
    text_builder_append(u"Error ");
    text_from_int(code, -1);
    return text_builder_address(mark);
}
