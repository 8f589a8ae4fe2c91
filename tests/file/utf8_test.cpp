// The converter on its own: the cases that decide how files read and write.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/file/utf8.h"

namespace {

std::u16string decode(const std::string& bytes) {
    std::u16string out(bytes.size(), u'\0');
    std::size_t n = utf8_decode(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), out.data());
    out.resize(n);
    return out;
}

std::string encode(const std::u16string& text) {
    std::vector<unsigned char> bytes;
    std::size_t n = text_to_utf8(text.c_str(), bytes);
    return std::string(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
}

// Well-formed throughout: every place starts a sequence.
bool valid(const std::string& bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    for (std::size_t i = 0, length; i < bytes.size(); i += length)
        if ((length = utf8_sequence_length(p + i, bytes.size() - i)) == 0) return false;
    return true;
}

// Malformed input is what the strict check refuses.
TEST(Utf8, ReplacesEachMaximalSubpartOnce) {
    struct Case {
        std::string bytes;
        std::u16string text;
    };
    const Case cases[] = {
        {"\x80", u"\uFFFD"},                                  // lone continuation
        {"\xBF\x80", u"\uFFFD\uFFFD"},
        {"\xC0\x80", u"\uFFFD\uFFFD"},                        // overlong NUL
        {"\xC1\xBF", u"\uFFFD\uFFFD"},
        {"\xE0\x80\x80", u"\uFFFD\uFFFD\uFFFD"},              // overlong, three bytes
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},              // an encoded surrogate
        {"\xF0\x80\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},    // overlong, four bytes
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},    // above U+10FFFF
        {"\xF5\xF8\xFE\xFF", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"\xE2\x82", u"\uFFFD"},                              // truncated at the end
        {"\xE2\x82x", u"\uFFFDx"},                            // truncated before another byte
        {"\xF0\x9F\x8E", u"\uFFFD"},
        {"\xF0\x9F\x8E\xE2\x82\xAC", u"\uFFFD\u20AC"},        // the next sequence survives
        {"\xC3\xC3\xA9", u"\uFFFD\u00E9"},
        {"\x61\xF1\x80\x80\xE1\x80\xC2\x62\x80\x63\x80\xBF\x64",  // Unicode's own example
         u"a\uFFFD\uFFFD\uFFFDb\uFFFDc\uFFFD\uFFFDd"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.bytes));
        EXPECT_EQ(decode(c.bytes), c.text);
        EXPECT_FALSE(valid(c.bytes));
    }
}

TEST(Utf8, EncodesPairsAndReplacesLoneSurrogates) {
    EXPECT_EQ(encode(u"\u007F\u0080\u07FF\u0800\uFFFF"), "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF");
    EXPECT_EQ(encode(u"\U00010000\U0010FFFF\U0001F3B5"),
              "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF\xF0\x9F\x8E\xB5");
    EXPECT_EQ(encode(u"\xD83C"), "\xEF\xBF\xBD");                 // high, at the end
    EXPECT_EQ(encode(u"\xD83C" u"a"), "\xEF\xBF\xBD" "a");        // high, then no low
    EXPECT_EQ(encode(u"\xDF00\xD83C"), "\xEF\xBF\xBD\xEF\xBF\xBD");  // low before high
    EXPECT_EQ(encode(std::u16string(u"\xD83C\xD83C\xDFB5")), "\xEF\xBF\xBD\xF0\x9F\x8E\xB5");
    EXPECT_EQ(encode(u""), "");
    std::vector<unsigned char> bytes;
    EXPECT_EQ(text_to_utf8(nullptr, bytes), 0u);
}

TEST(Utf8, RoundTripsEveryScalarValue) {
    std::u16string all;
    for (char32_t c = 1; c <= 0x10FFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        if (c < 0x10000) {
            all += static_cast<char16_t>(c);
        } else {
            all += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            all += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        }
    }
    std::string bytes = encode(all);
    EXPECT_EQ(bytes.size(), 0x7Fu + 2 * 0x780u + 3 * (0x10000u - 0x800u - 0x800u) + 4 * 0x100000u);
    EXPECT_EQ(decode(bytes), all);
    EXPECT_TRUE(valid(bytes));
    EXPECT_TRUE(valid(""));
}

TEST(Utf8, ConvertsTheSameWhereverTheOtherCharactersStand) {
    // Runs of ASCII are converted many bytes at a time: a character beyond
    // ASCII, or a malformed byte, at every place of texts of many lengths.
    for (std::size_t length = 1; length <= 40; ++length) {
        for (std::size_t at = 0; at < length; ++at) {
            SCOPED_TRACE(testing::Message() << "length " << length << ", at " << at);
            std::string before(at, 'a'), after(length - at - 1, 'b');
            std::u16string wide_before(at, u'a'), wide_after(length - at - 1, u'b');
            EXPECT_EQ(encode(wide_before + u"\u00E9" + wide_after), before + "\xC3\xA9" + after);
            EXPECT_EQ(decode(before + "\xC3\xA9" + after), wide_before + u"\u00E9" + wide_after);
            EXPECT_EQ(decode(before + "\xFF" + after), wide_before + u"\uFFFD" + wide_after);
        }
    }
}

}  // namespace
