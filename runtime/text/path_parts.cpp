// The file name and the extension of a path's last component. Both stop at a
// double quote, so a quoted path gives its name without the quotes.
#include "runtime/text/text.h"
#include "runtime/text/text_builder.h"

namespace {
bool is_separator(char16_t c) { return c == u'/' || c == u'\\'; }

int length_before_quote(const char16_t* text) {
    int length = 0;
    while (text[length] && text[length] != u'"') ++length;
    return length;
}
}  // namespace

char16_t* path_file_part(const char16_t* path, int position) {
    TextBuilder& builder = text_builder();
    TextSource source = text_source(builder, path);
    const char16_t* text = source.text;
    int start = -1;
    for (int i = 0; text[i]; ++i)
        if (is_separator(text[i])) start = i + 1;
    if (start < 0) start = text[0] == u'"' ? 1 : 0;
    return text_put_part(builder, source, start, length_before_quote(text + start), position);
}

char16_t* path_extension_part(const char16_t* path, int position) {
    TextBuilder& builder = text_builder();
    TextSource source = text_source(builder, path);
    const char16_t* text = source.text;
    int start = text_char_count(text);
    for (int i = start - 1; i >= 0 && !is_separator(text[i]); --i) {
        if (text[i] == u'.') {
            start = i + 1;
            break;
        }
    }
    return text_put_part(builder, source, start, length_before_quote(text + start), position);
}
