// Texts for application code: `Text` owns one text variable, `TextBuild`
// assembles a text in the calling thread's builder.
//
//     version_text = TextBuild(u"V 0.") + 5 + u"." + 206;        // assigned
//     window_title_set(0, (TextBuild(u"a") + x).c_str());        // passed on
//
// How a build expression works, and the rule that keeps it safe:
// - TextBuild(first) takes a mark and appends first. Every `+` takes the
//   TextBuild built so far on its left (a TextBuild&&) and a plain value on
//   its right, and appends that value when its operator runs. The left side
//   is complete before the operator body runs, so pieces land in the order
//   written, although C++ does not order the evaluation of the two operands.
// - Hence the rule: a right-hand operand must not build text itself (no
//   TextBuild, no c_str() of one, no text-returning runtime operation called
//   in place), since it may be evaluated before pieces on its left are
//   appended. Take such a value into a Text first, or pass a callable: a
//   `+ [&](int at) { path_file_part(path, at); }` piece runs the operation at
//   the builder's current position when its turn comes.
// - Integers are written in decimal (text_from_int); characters are not
//   integers here, append them as texts.
// - A TextBuild lives for one full expression and is never named or stored:
//   its destructor rewinds the builder to its mark. Assigning it to a Text
//   moves the built characters into the Text; c_str() terminates the built
//   text and gives its address, valid until the end of the full expression
//   (any building done meanwhile by the callee happens above it).
#pragma once

#include <concepts>
#include <cstdint>
#include <type_traits>

#include "runtime/text/text.h"

class TextBuild;

class Text {
public:
    Text() = default;
    Text(const char16_t* text);
    Text(TextBuild&& built);
    Text(const Text& other);
    Text(Text&& other) noexcept;
    ~Text();

    Text& operator=(const Text& other);
    Text& operator=(Text&& other) noexcept;
    Text& operator=(const char16_t* text);
    Text& operator=(TextBuild&& built);

    // Never null: the empty text reads as u"".
    const char16_t* c_str() const;
    int length() const { return text_char_count(c_str()); }
    bool empty() const { return length() == 0; }

    // The variable itself, for runtime operations that assign to a variable
    // or change a text in place (text_builder_assign, text_replace in place).
    char16_t** variable();

    friend bool operator==(const Text& a, const Text& b) { return text_equal(a.c_str(), b.c_str()) != 0; }
    friend bool operator==(const Text& a, const char16_t* b) { return text_equal(a.c_str(), b) != 0; }

private:
    // The text, or nullptr once it went away with the text heap (text_end).
    char16_t* live() const;
    void adopt_generation();

    char16_t* text_ = nullptr;
    std::uint32_t generation_ = 0;  // the text heap's generation when text_ was assigned
};

// Integers that read as numbers: characters are excluded on purpose.
template <class T>
concept TextNumber = std::integral<T> && !std::same_as<T, bool> && !std::same_as<T, char> &&
                     !std::same_as<T, signed char> && !std::same_as<T, unsigned char> &&
                     !std::same_as<T, wchar_t> && !std::same_as<T, char8_t> &&
                     !std::same_as<T, char16_t> && !std::same_as<T, char32_t>;

// A piece that runs a text-returning operation at the given builder position.
template <class F>
concept TextPiece = std::invocable<F&, int>;

class TextBuild {
public:
    explicit TextBuild(const char16_t* first = nullptr);
    ~TextBuild();
    TextBuild(const TextBuild&) = delete;
    TextBuild& operator=(const TextBuild&) = delete;

    // Terminates the built text (once) and returns its address.
    const char16_t* c_str() &&;

    void append(const char16_t* text);
    void append_number(std::int64_t value);
    void append_number_unsigned(std::uint64_t value);
    int position() const { return text_builder_mark(); }

private:
    friend class Text;
    // Hands the built characters to a variable and rewinds to the mark.
    void assign_to(char16_t** variable);

    int mark_;
    bool terminated_ = false;
};

inline TextBuild&& operator+(TextBuild&& left, const char16_t* text) {
    left.append(text);
    return static_cast<TextBuild&&>(left);
}

inline TextBuild&& operator+(TextBuild&& left, const Text& text) {
    left.append(text.c_str());
    return static_cast<TextBuild&&>(left);
}

template <TextNumber T>
TextBuild&& operator+(TextBuild&& left, T value) {
    if constexpr (std::is_signed_v<T>)
        left.append_number(value);
    else
        left.append_number_unsigned(value);
    return static_cast<TextBuild&&>(left);
}

template <TextPiece F>
TextBuild&& operator+(TextBuild&& left, F&& piece) {
    piece(left.position());
    return static_cast<TextBuild&&>(left);
}

// A build on the right would run in an unspecified order against the left.
TextBuild&& operator+(TextBuild&& left, TextBuild&& right) = delete;
