// The reason of the last failure, in words.
#include "runtime/file/file.h"
#include "runtime/file/file_handle.h"
#include "runtime/text/text.h"

namespace {

// The runtime's own reasons, where the platform has no code that says it.
const char16_t* own_reason(int code) {
    switch (code) {
    case FILE_ERROR_NOT_A_FILE: return u"It is not a file but a device, a pipe or the like.";
    case FILE_ERROR_MANY_NAMES:
        return u"The file has other names (hard links), which would keep the old playlist: "
               u"save it under a new name instead.";
    default: return nullptr;
    }
}

}  // namespace

char16_t* file_error_text() {
    int code = file_handle_last_error();
    if (const char16_t* reason = own_reason(code)) {
        int mark = text_builder_mark();
        text_builder_append(reason);
        return text_builder_address(mark);
    }
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
