#include "runtime/text/text_value.h"

#include "runtime/text/text_builder.h"

char16_t* Text::live() const { return generation_ == text_generation() ? text_ : nullptr; }

void Text::adopt_generation() {
    // A text from before text_end went away with its heap: forget it rather
    // than hand a foreign block to the new heap.
    if (generation_ != text_generation()) {
        text_ = nullptr;
        generation_ = text_generation();
    }
}

Text::Text(const char16_t* text) { *this = text; }

Text::Text(TextBuild&& built) { *this = static_cast<TextBuild&&>(built); }

Text::Text(const Text& other) { *this = other; }

Text::Text(Text&& other) noexcept : text_(other.text_), generation_(other.generation_) {
    other.text_ = nullptr;
}

Text::~Text() {
    if (char16_t* text = live()) text_free(&text);
}

Text& Text::operator=(const Text& other) {
    if (this != &other) *this = other.live();
    return *this;
}

Text& Text::operator=(Text&& other) noexcept {
    if (this != &other) {
        if (char16_t* text = live()) text_free(&text);
        text_ = other.text_;
        generation_ = other.generation_;
        other.text_ = nullptr;
    }
    return *this;
}

Text& Text::operator=(const char16_t* text) {
    text_assign(variable(), text);
    return *this;
}

Text& Text::operator=(TextBuild&& built) {
    built.assign_to(variable());
    return *this;
}

const char16_t* Text::c_str() const {
    const char16_t* text = live();
    return text ? text : u"";
}

char16_t** Text::variable() {
    adopt_generation();
    return &text_;
}

TextBuild::TextBuild(const char16_t* first) : mark_(text_builder_mark()) { append(first); }

TextBuild::~TextBuild() { text_builder_rewind(mark_); }

const char16_t* TextBuild::c_str() && {
    if (!terminated_) {
        // Step over the null so that building done by the receiver cannot
        // overwrite it; reserving also writes it when nothing was appended.
        *text_builder_reserve(1, -1) = 0;
        terminated_ = true;
    }
    return text_builder_address(mark_);
}

void TextBuild::append(const char16_t* text) { text_builder_append(text); }

void TextBuild::append_number(std::int64_t value) { text_from_int(value, -1); }

void TextBuild::append_number_unsigned(std::uint64_t value) {
    if (value <= static_cast<std::uint64_t>(INT64_MAX)) {
        text_from_int(static_cast<std::int64_t>(value), -1);
        return;
    }
    // Beyond the signed range: all digits but the last, then the last one.
    text_from_int(static_cast<std::int64_t>(value / 10), -1);
    text_from_int(static_cast<std::int64_t>(value % 10), -1);
}

void TextBuild::assign_to(char16_t** variable) {
    if (terminated_) {
        text_builder_release(1);
        terminated_ = false;
    }
    text_builder_assign(variable, mark_);
}
