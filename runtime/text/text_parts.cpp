// Counting and taking parts of a text: occurrences of a pattern, the n-th
// field between separators, the last n characters.
#include "runtime/text/text.h"
#include "runtime/text/text_builder.h"

namespace {
bool matches_at(const char16_t* text, const char16_t* pattern, int length) {
    // The text's null never equals a pattern character, so a match cannot run
    // past the text's end.
    for (int i = 0; i < length; ++i)
        if (text[i] != pattern[i]) return false;
    return true;
}

struct Part {
    int start;
    int length;
};

// Field n (1-based) of text; empty when the text ends first. An empty
// separator never matches, so only the text's end ends a field.
Part find_field(const char16_t* text, int n, const char16_t* separator) {
    int separator_length = text_char_count(separator);
    int field = 1;
    int start = 0;
    for (int i = 0;;) {
        bool at_end = text[i] == 0;
        if (at_end || (separator_length > 0 && matches_at(text + i, separator, separator_length))) {
            if (field == n) return {start, i - start};
            if (at_end) return {0, 0};
            ++field;
            i += separator_length;
            start = i;
        } else {
            ++i;
        }
    }
}
}  // namespace

int text_count(const char16_t* text, const char16_t* pattern) {
    int pattern_length = text_char_count(pattern);
    if (!text || pattern_length == 0) return 0;
    int count = 0;
    for (const char16_t* at = text; *at;) {
        if (*at == *pattern && matches_at(at, pattern, pattern_length)) {
            ++count;
            at += pattern_length;
        } else {
            ++at;
        }
    }
    return count;
}

char16_t* text_field(const char16_t* text, int field, const char16_t* separator, int position) {
    TextBuilder& builder = text_builder();
    TextSource source = text_source(builder, text);
    Part part = field < 1 ? Part{0, 0} : find_field(source.text, field, separator ? separator : u"");
    return text_put_part(builder, source, part.start, part.length, position);
}

char16_t* text_right(const char16_t* text, int count, int position) {
    TextBuilder& builder = text_builder();
    TextSource source = text_source(builder, text);
    int length = text_char_count(source.text);
    if (count < 0) count = 0;
    if (count > length) count = length;
    return text_put_part(builder, source, length - count, count, position);
}
