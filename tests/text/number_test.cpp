// Decimal text of integers, on both the 32-bit and the 64-bit path.
#include <cstdint>
#include <limits>
#include <string>

#include "tests/text/text_test_support.h"

namespace {
std::u16string decimal(std::int64_t value) {
    return result_of([&](int position) { return text_from_int(value, position); });
}

std::u16string expected(std::int64_t value) {
    std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}
}  // namespace

TEST(TextFromInt, WritesTheBoundaryValues) {
    EXPECT_EQ(decimal(0), u"0");
    EXPECT_EQ(decimal(-1), u"-1");
    EXPECT_EQ(decimal(2147483647), u"2147483647");
    EXPECT_EQ(decimal(-2147483647 - 1), u"-2147483648");
    EXPECT_EQ(decimal(2147483648), u"2147483648");
    EXPECT_EQ(decimal(-2147483649), u"-2147483649");
    EXPECT_EQ(decimal(std::numeric_limits<std::int64_t>::min()), u"-9223372036854775808");
    EXPECT_EQ(decimal(std::numeric_limits<std::int64_t>::max()), u"9223372036854775807");
}

TEST(TextFromInt, AgreesWithTheStandardLibraryAcrossMagnitudes) {
    std::int64_t power = 1;
    for (int k = 0; k <= 18; ++k) {
        for (std::int64_t value : {power - 1, power, power + 1, -(power - 1), -power, -(power + 1)}) {
            SCOPED_TRACE(value);
            EXPECT_EQ(decimal(value), expected(value));
        }
        if (k < 18) power *= 10;
    }
}

TEST(TextFromInt, WritesAtTheGivenPositionAndGivesBackUnusedRoom) {
    int mark = text_builder_mark();
    text_builder_append(u"xxxxxxxxxxxx");
    text_from_int(-12, mark + 4);
    EXPECT_EQ(std::u16string(text_builder_address(mark)), u"xx-12");
    EXPECT_EQ(text_builder_mark(), mark + 10);

    // Pieces follow each other with no gap left by the reserved room.
    text_from_int(7, -1);
    text_from_int(9000000000, -1);
    EXPECT_EQ(std::u16string(text_builder_address(mark)), u"xx-1279000000000");
    text_builder_rewind(mark);
}
