// Counting, fields, the right part, exact comparison and replacing.
#include <string>

#include "runtime/text/case_fold.h"
#include "tests/text/text_test_support.h"

namespace {
std::u16string field(const char16_t* text, int n, const char16_t* separator) {
    return result_of([&](int position) { return text_field(text, n, separator, position); });
}

std::u16string replaced(const char16_t* text, const char16_t* pattern, const char16_t* replacement,
                        int mode = 0) {
    return result_of([&](int position) {
        return text_replace(const_cast<char16_t*>(text), pattern, replacement, mode, position);
    });
}

std::u16string right(const char16_t* text, int count) {
    return result_of([&](int position) { return text_right(text, count, position); });
}

const char16_t* const dropped = u"C:\\a\\one.mp3\nC:\\a\\two.mp3\nC:\\b\\three.ogg";
}  // namespace

TEST(TextCount, CountsOccurrencesThatDoNotOverlap) {
    EXPECT_EQ(text_count(u"aaaa", u"aa"), 2);
    EXPECT_EQ(text_count(u"aaa", u"aa"), 1);
    EXPECT_EQ(text_count(u"ababab", u"abab"), 1);
    EXPECT_EQ(text_count(u"abcabd", u"abd"), 1);
    EXPECT_EQ(text_count(dropped, u"\n"), 2);
    EXPECT_EQ(text_count(u"Track", u"track"), 0);
    EXPECT_EQ(text_count(u"ab", u"abc"), 0);
    EXPECT_EQ(text_count(nullptr, u"a"), 0);
    EXPECT_EQ(text_count(u"aaa", nullptr), 0);
    EXPECT_EQ(text_count(u"aaa", u""), 0);
}

TEST(TextField, SplitsALineFeedSeparatedList) {
    EXPECT_EQ(field(dropped, 1, u"\n"), u"C:\\a\\one.mp3");
    EXPECT_EQ(field(dropped, 2, u"\n"), u"C:\\a\\two.mp3");
    EXPECT_EQ(field(dropped, 3, u"\n"), u"C:\\b\\three.ogg");
    EXPECT_EQ(field(dropped, 4, u"\n"), u"");
    EXPECT_EQ(field(dropped, 0, u"\n"), u"");
    EXPECT_EQ(field(dropped, -3, u"\n"), u"");
}

TEST(TextField, KeepsEmptyFields) {
    EXPECT_EQ(field(u"a\n\nb", 2, u"\n"), u"");
    EXPECT_EQ(field(u"a\n\nb", 3, u"\n"), u"b");
    EXPECT_EQ(field(u"\na", 1, u"\n"), u"");
    EXPECT_EQ(field(u"\na", 2, u"\n"), u"a");
    EXPECT_EQ(field(u"a\n", 2, u"\n"), u"");
    EXPECT_EQ(field(u"a\n", 3, u"\n"), u"");
    EXPECT_EQ(field(u"", 1, u"\n"), u"");
    EXPECT_EQ(field(nullptr, 1, u"\n"), u"");
}

TEST(TextField, MatchesLongSeparatorsInFull) {
    EXPECT_EQ(field(u"x, y,z, ", 1, u", "), u"x");
    EXPECT_EQ(field(u"x, y,z, ", 2, u", "), u"y,z");
    EXPECT_EQ(field(u"x, y,z, ", 3, u", "), u"");
    EXPECT_EQ(field(u"a--b-", 2, u"--"), u"b-");
    EXPECT_EQ(field(u"one\r\ntwo\r\n", 2, u"\r\n"), u"two");
    EXPECT_EQ(field(u"a---b", 2, u"--"), u"-b");
}

TEST(TextField, WithoutASeparatorOnlyTheEndEndsAField) {
    EXPECT_EQ(field(u"a\nb", 1, u""), u"a\nb");
    EXPECT_EQ(field(u"a\nb", 2, u""), u"");
    EXPECT_EQ(field(u"a\nb", 1, nullptr), u"a\nb");
    EXPECT_EQ(field(u"a\nb", 2, nullptr), u"");
}

TEST(TextRight, TakesTheLastCharactersWithinTheText) {
    const char16_t* path = u"C:/a/b.mp3";
    EXPECT_EQ(right(path, text_char_count(path) - 2), u"/a/b.mp3");
    EXPECT_EQ(right(path, 0), u"");
    EXPECT_EQ(right(path, -4), u"");
    EXPECT_EQ(right(path, 1000), path);
    EXPECT_EQ(right(nullptr, 3), u"");
}

TEST(TextEqual, ComparesExactlyWithNullAsEmpty) {
    EXPECT_EQ(text_equal(u"m3u", u"m3u"), 1);
    EXPECT_EQ(text_equal(u"M3U", u"m3u"), 0);
    EXPECT_EQ(text_equal(u"ab", u"abc"), 0);
    EXPECT_EQ(text_equal(u"abc", u"ab"), 0);
    EXPECT_EQ(text_equal(nullptr, u""), 1);
    EXPECT_EQ(text_equal(u"", nullptr), 1);
    EXPECT_EQ(text_equal(nullptr, u"a"), 0);
    EXPECT_EQ(text_char_count(nullptr), 0);
    EXPECT_EQ(text_char_count(u"\u00e9t\u00e9"), 3);
}

TEST(TextAssign, SizesTheVariableToEachTextAndFreesOnNull) {
    char16_t* text = nullptr;
    text_assign(&text, u"a fairly long first text");
    EXPECT_EQ(std::u16string(text), u"a fairly long first text");
    text_assign(&text, u"short");
    EXPECT_EQ(std::u16string(text), u"short");
    text_assign(&text, u"");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::u16string(text), u"");
    text_assign(&text, nullptr);
    EXPECT_EQ(text, nullptr);
    text_assign(nullptr, u"ignored");
    text_free(nullptr);
}

TEST(TextAssign, TakesPartOfTheVariableItsOwnTextFrom) {
    char16_t* text = nullptr;
    text_assign(&text, u"C:\\Music\\song.mp3");
    text_assign(&text, text);
    EXPECT_EQ(std::u16string(text), u"C:\\Music\\song.mp3");
    text_assign(&text, text + 9);
    EXPECT_EQ(std::u16string(text), u"song.mp3");
    text_assign(&text, text + 8);  // its own null: the empty text
    EXPECT_EQ(std::u16string(text), u"");
    text_free(&text);
}

TEST(TextReplace, InPlaceChangesTheVariableItself) {
    char16_t* path = nullptr;
    text_assign(&path, u"C:\\a\\b.mp3");
    char16_t* block = path;
    int position = text_builder_mark();
    EXPECT_EQ(text_replace(path, u"\\", u"/", TEXT_IN_PLACE, -1), block);
    EXPECT_EQ(path, block);
    EXPECT_EQ(std::u16string(path), u"C:/a/b.mp3");
    EXPECT_EQ(text_builder_mark(), position);  // nothing was built

    text_assign(&path, u"x.MP3.Mp3");
    text_replace(path, u"mp3", u"m3u", TEXT_IN_PLACE | TEXT_NO_CASE, -1);
    EXPECT_EQ(std::u16string(path), u"x.m3u.m3u");
    text_replace(path, u"m3u", u"m3", TEXT_IN_PLACE, -1);  // lengths differ: unchanged
    EXPECT_EQ(std::u16string(path), u"x.m3u.m3u");
    text_replace(path, u"", u"", TEXT_IN_PLACE, -1);
    EXPECT_EQ(std::u16string(path), u"x.m3u.m3u");
    text_replace(path, u"u.m3u.m3uu", u"xxxxxxxxxx", TEXT_IN_PLACE, -1);  // runs past the end
    EXPECT_EQ(std::u16string(path), u"x.m3u.m3u");
    EXPECT_EQ(text_replace(nullptr, u"a", u"b", TEXT_IN_PLACE, -1), nullptr);
    text_free(&path);
}

TEST(TextReplace, BuildsTheNewText) {
    EXPECT_EQ(replaced(u"a-b-c", u"-", u"+-"), u"a+-b+-c");
    EXPECT_EQ(replaced(u"aXXbXX", u"XX", u""), u"ab");
    EXPECT_EQ(replaced(u"aaa", u"aa", u"b"), u"ba");
    EXPECT_EQ(replaced(u"abc", u"x", u"y"), u"abc");
    EXPECT_EQ(replaced(u"abc", u"", u"y"), u"abc");
    EXPECT_EQ(replaced(u"abc", nullptr, u"y"), u"abc");
    EXPECT_EQ(replaced(u"a.b.c", u".", nullptr), u"abc");
    EXPECT_EQ(replaced(nullptr, u"a", u"b"), u"");
    EXPECT_EQ(replaced(u"ab", u"abc", u"x"), u"ab");
    EXPECT_EQ(replaced(u"C:\\a\\b.mp3", u"\\", u"/"), u"C:/a/b.mp3");
}

TEST(TextReplace, IgnoresCaseOnlyWhenAsked) {
    EXPECT_EQ(replaced(u"Track.MP3 and track.mp3", u"TRACK", u"T"), u"Track.MP3 and track.mp3");
    EXPECT_EQ(replaced(u"Track.MP3 and track.mp3", u"TRACK", u"T", TEXT_NO_CASE), u"T.MP3 and T.mp3");
    EXPECT_EQ(replaced(u"\u00c4rger \u00e4rger", u"\u00e4", u"ae", TEXT_NO_CASE), u"aerger aerger");
    EXPECT_EQ(replaced(u"\u041f\u0440\u0438 \u043f\u0420\u0418", u"\u043f\u0440\u0438", u"x", TEXT_NO_CASE),
              u"x x");
}

TEST(CaseFold, FoldsLetterPairsAndLeavesOtherCharactersAlone) {
    const char16_t pairs[][2] = {
        {u'A', u'a'},         {u'Z', u'z'},         {u'\u00c0', u'\u00e0'}, {u'\u00de', u'\u00fe'},
        {u'\u0100', u'\u0101'}, {u'\u0136', u'\u0137'}, {u'\u0139', u'\u013a'}, {u'\u0147', u'\u0148'},
        {u'\u014a', u'\u014b'}, {u'\u0176', u'\u0177'}, {u'\u0178', u'\u00ff'}, {u'\u0179', u'\u017a'},
        {u'\u017d', u'\u017e'}, {u'\u0391', u'\u03b1'}, {u'\u03a3', u'\u03c3'}, {u'\u0400', u'\u0450'},
        {u'\u0410', u'\u0430'}, {u'\u042f', u'\u044f'},
    };
    for (const auto& pair : pairs) {
        SCOPED_TRACE(static_cast<int>(pair[0]));
        EXPECT_EQ(case_fold(pair[0]), case_fold(pair[1]));
        EXPECT_NE(case_fold(pair[0]), case_fold(static_cast<char16_t>(pair[1] + 1)));
    }
    // Not letters, or letters without a one-to-one partner: unchanged.
    for (char16_t c : {u'@', u'[', u'`', u'{', u'0', u'\u00d7', u'\u00f7', u'\u00df', u'\u0130', u'\u0138',
                       u'\u0149', u'\u03a2', char16_t{0xD83C}, u'\u4e2d'})
        EXPECT_EQ(case_fold(c), c) << static_cast<int>(c);
    EXPECT_EQ(case_fold(u'\u03c2'), case_fold(u'\u03a3'));  // final sigma
}
