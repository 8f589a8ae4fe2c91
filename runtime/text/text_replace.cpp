// Replacing every occurrence of a pattern: either building the new text in
// the builder, or overwriting the matches in the text itself.
#include <cstdint>
#include <cstring>

#include "runtime/text/case_fold.h"
#include "runtime/text/text.h"
#include "runtime/text/text_builder.h"

namespace {
bool matches_at(const char16_t* text, const char16_t* pattern, int length, bool no_case) {
    for (int i = 0; i < length; ++i) {
        // A text's null matches no pattern character, so no match runs past its end.
        if (text[i] == 0) return false;
        if (no_case ? case_fold(text[i]) != case_fold(pattern[i]) : text[i] != pattern[i]) return false;
    }
    return true;
}

bool matches_here(const char16_t* text, const char16_t* pattern, int length, bool no_case) {
    // Case-sensitive scans check the first character before the rest.
    if (!no_case && *text != *pattern) return false;
    return matches_at(text, pattern, length, no_case);
}

int count_matches(const char16_t* text, const char16_t* pattern, int length, bool no_case) {
    int count = 0;
    for (const char16_t* at = text; *at;) {
        if (matches_here(at, pattern, length, no_case)) {
            ++count;
            at += length;
        } else {
            ++at;
        }
    }
    return count;
}

void replace_in_place(char16_t* text, const char16_t* pattern, const char16_t* replacement,
                      bool no_case) {
    int length = text_char_count(pattern);
    // A replacement of another length cannot be written over the match
    // without cutting or overrunning the text, so such a call changes nothing.
    if (!text || length == 0 || text_char_count(replacement) != length) return;
    for (char16_t* at = text; *at;) {
        if (matches_here(at, pattern, length, no_case)) {
            std::memcpy(at, replacement, sizeof(char16_t) * static_cast<std::size_t>(length));
            at += length;
        } else {
            ++at;
        }
    }
}

// A private copy of a text that lies in the builder, whose buffer the result
// may overwrite or move; other texts are used where they are.
class StableText {
public:
    StableText(const TextBuilder& builder, const char16_t* text) {
        TextSource source = text_source(builder, text);
        text_ = source.text;
        if (source.offset < 0) return;
        std::size_t bytes = sizeof(char16_t) * (static_cast<std::size_t>(text_char_count(text)) + 1);
        copy_ = static_cast<char16_t*>(heap_alloc(text_heap(), bytes));
        if (!copy_) text_out_of_memory();
        std::memcpy(copy_, text, bytes);
        text_ = copy_;
    }
    ~StableText() { heap_free(text_heap(), copy_); }
    StableText(const StableText&) = delete;
    StableText& operator=(const StableText&) = delete;
    const char16_t* get() const { return text_; }

private:
    const char16_t* text_;
    char16_t* copy_ = nullptr;
};
}  // namespace

char16_t* text_replace(char16_t* text, const char16_t* pattern, const char16_t* replacement,
                       int mode, int position) {
    bool no_case = (mode & TEXT_NO_CASE) != 0;
    if (mode & TEXT_IN_PLACE) {
        replace_in_place(text, pattern, replacement, no_case);
        return text;
    }
    TextBuilder& builder = text_builder();
    StableText source(builder, text), find(builder, pattern), put(builder, replacement);
    int text_length = text_char_count(source.get());
    int find_length = text_char_count(find.get());
    int put_length = text_char_count(put.get());
    int matches = find_length == 0 ? 0 : count_matches(source.get(), find.get(), find_length, no_case);
    std::int64_t result_length =
        text_length + std::int64_t{put_length - find_length} * matches;
    char16_t* out = text_builder_room(builder, result_length, position);
    char16_t* end = out;
    for (const char16_t* at = source.get(); *at;) {
        if (matches > 0 && matches_here(at, find.get(), find_length, no_case)) {
            std::memcpy(end, put.get(), sizeof(char16_t) * static_cast<std::size_t>(put_length));
            end += put_length;
            at += find_length;
        } else {
            *end++ = *at++;
        }
    }
    *end = 0;
    return out;
}
