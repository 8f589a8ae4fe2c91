// Text and TextBuild: the helpers application code writes its texts with.
#include <concepts>
#include <cstdint>
#include <limits>
#include <string>
#include <utility>

#include "runtime/text/text_value.h"
#include "tests/text/text_test_support.h"

namespace {
// Stands for an operation that takes a text argument and builds texts of its
// own meanwhile, as window and gadget setters do.
std::u16string receive(const char16_t* text) {
    std::u16string before(text);
    Text own = TextBuild(u"callee ") + 1;
    EXPECT_TRUE(own == u"callee 1");
    EXPECT_EQ(std::u16string(text), before);
    return before;
}

template <class Right>
concept Appendable = requires(TextBuild&& left, Right right) { std::move(left) + right; };
}  // namespace

static_assert(Appendable<int> && Appendable<const char16_t*> && Appendable<Text>);
static_assert(!Appendable<char16_t> && !Appendable<bool> && !Appendable<TextBuild&&>);

TEST(Text, IsEmptyButNeverNullByDefault) {
    Text text;
    ASSERT_NE(text.c_str(), nullptr);
    EXPECT_EQ(std::u16string(text.c_str()), u"");
    EXPECT_TRUE(text.empty());
    EXPECT_TRUE(text == u"");
    EXPECT_TRUE(text == nullptr);
}

TEST(Text, CopiesAndMovesOwnTheirBlocks) {
    Text original = u"first";
    Text copy = original;
    original = u"changed";
    EXPECT_TRUE(copy == u"first");
    EXPECT_NE(copy.c_str(), original.c_str());

    Text moved = std::move(original);
    EXPECT_TRUE(moved == u"changed");
    EXPECT_TRUE(original.empty());  // NOLINT(bugprone-use-after-move): moved-from is empty by contract

    copy = moved;
    EXPECT_TRUE(copy == moved);
    Text& same = copy;
    copy = same;
    EXPECT_TRUE(copy == u"changed");
    copy = copy.c_str() + 3;  // part of its own text
    EXPECT_TRUE(copy == u"nged");
    copy = static_cast<const char16_t*>(nullptr);
    EXPECT_TRUE(copy.empty());
    EXPECT_EQ(moved.length(), 7);
}

TEST(TextBuild, AssignsPiecesInTheOrderWritten) {
    int position = text_builder_mark();
    Text version_text = TextBuild(u"V 0.") + 5 + u"." + 206;
    EXPECT_TRUE(version_text == u"V 0.5.206");
    EXPECT_EQ(text_builder_mark(), position);

    Text name = u"song";
    long long negative = -3;
    unsigned short small = 2;
    version_text = TextBuild(u"a") + 1 + u"b" + name + small + negative + std::numeric_limits<std::uint64_t>::max() +
                   u"|" + std::numeric_limits<std::int64_t>::min();
    EXPECT_TRUE(version_text == u"a1bsong2-318446744073709551615|-9223372036854775808");
    EXPECT_EQ(text_builder_mark(), position);

    version_text = TextBuild(version_text.c_str()) + u"!";  // its own old text as a piece
    EXPECT_EQ(std::u16string(version_text.c_str()).back(), u'!');
    Text empty = TextBuild();
    EXPECT_TRUE(empty == u"");
}

TEST(TextBuild, PassesABuiltTextAsAnArgument) {
    int volume = 75;
    int position = text_builder_mark();
    EXPECT_EQ(receive((TextBuild(u"Volume: ") + volume).c_str()), u"Volume: 75");
    EXPECT_EQ(text_builder_mark(), position);
    EXPECT_EQ(receive(TextBuild().c_str()), u"");
    EXPECT_EQ(text_builder_mark(), position);
}

TEST(TextBuild, RunsOperationPiecesAtTheirTurn) {
    Text path = u"C:\\Music\\song.mp3";
    Text title = TextBuild(u"Tunelathe - ") + [&](int at) { path_file_part(path.c_str(), at); } + u" [" +
                 [&](int at) { path_extension_part(path.c_str(), at); } + u"]";
    EXPECT_TRUE(title == u"Tunelathe - song.mp3 [mp3]");
}

TEST(TextBuild, NestsInsideALongerOuterExpression) {
    char16_t* outer = nullptr;
    int mark = text_builder_mark();
    text_builder_append(u"outer ");
    std::u16string passed = receive((TextBuild(u"inner ") + 2).c_str());
    text_builder_append(u"part");
    text_builder_assign(&outer, mark);
    EXPECT_EQ(passed, u"inner 2");
    EXPECT_EQ(std::u16string(outer), u"outer part");
    text_free(&outer);
}

TEST(Text, ExposesItsVariableToRuntimeOperations) {
    Text path = u"C:\\a\\b.mp3";
    text_replace(*path.variable(), u"\\", u"/", TEXT_IN_PLACE, -1);
    EXPECT_TRUE(path == u"C:/a/b.mp3");

    int mark = text_builder_mark();
    text_right(path.c_str(), path.length() - 2, -1);
    text_builder_assign(path.variable(), mark);
    EXPECT_TRUE(path == u"/a/b.mp3");
}
