// Text fields of elements: empty on creation, copied by list_copy, released
// by removal, clearing and freeing.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/text/text.h"
#include "tests/list/allocated_bytes.h"
#include "tests/list/list_test_support.h"

namespace {
constexpr int element_count = 300;
constexpr int text_length = 200;
// The texts of element_count elements, two per element.
constexpr std::int64_t text_bytes = std::int64_t{element_count} * 2 * (text_length + 1) * 2;

// Distinct per element, and not plain ASCII.
std::u16string text_for(int n, char16_t letter) {
    return std::u16string(text_length - 3, letter) + char16_t(u'0' + n % 10) + u"\u00e9\u4e2d";
}

void give_texts(Track* track) {
    text_assign(&track->title, text_for(track->number, u't').c_str());
    text_assign(&track->path, text_for(track->number, u'p').c_str());
}

// A list of element_count tracks, its nodes made before the baseline and
// the texts assigned after it; baseline receives the bytes held without texts.
OrderedList* list_with_texts(std::int64_t* baseline) {
    OrderedList* list = numbered_list(element_count);
    *baseline = allocated_bytes();
    for (int n = 0; n < element_count; ++n) give_texts(static_cast<Track*>(list_select(list, n)));
    return list;
}
}  // namespace

TEST(ListTexts, NewElementsHaveEmptyTexts) {
    OrderedList* list = numbered_list(0);
    auto* track = static_cast<Track*>(list_add(list));
    EXPECT_EQ(text_char_count(track->title), 0);
    EXPECT_TRUE(text_equal(track->path, u""));
    list_free(list);
}

TEST(ListTexts, ClearingReleasesEveryText) {
    std::int64_t baseline = 0;
    OrderedList* list = list_with_texts(&baseline);
    EXPECT_GE(allocated_bytes() - baseline, text_bytes);  // the measure sees texts at all
    list_clear(list);  // the nodes stay in the pool: only the texts go
    EXPECT_LT(allocated_bytes() - baseline, text_bytes / 20);
    list_free(list);
}

TEST(ListTexts, RemovingReleasesTheElementsTexts) {
    std::int64_t baseline = 0;
    OrderedList* list = list_with_texts(&baseline);
    std::vector<void*> odd;
    for (int n = 1; n < element_count; n += 2) odd.push_back(list_select(list, n));
    for (void* element : odd) list_remove(list, element);
    std::int64_t held = allocated_bytes() - baseline;
    EXPECT_LT(held, text_bytes / 2 + text_bytes / 20);
    EXPECT_GT(held, text_bytes / 2 - text_bytes / 20);
    // The remaining elements keep their own texts.
    for (int n = 0; n < list_count(list); ++n) {
        auto* track = static_cast<Track*>(list_select(list, n));
        ASSERT_EQ(track->number, 2 * n);
        ASSERT_TRUE(text_equal(track->title, text_for(2 * n, u't').c_str()));
    }
    list_free(list);
}

TEST(ListTexts, FreeingReleasesTextsAndNodes) {
    std::int64_t before = allocated_bytes();
    std::int64_t baseline = 0;
    OrderedList* list = list_with_texts(&baseline);
    list_free(list);
    EXPECT_LT(allocated_bytes() - before, text_bytes / 20);
}

TEST(ListTexts, CopiesOwnTheirTexts) {
    std::int64_t baseline = 0;
    OrderedList* source = list_with_texts(&baseline);
    auto* first_source = static_cast<Track*>(list_select(source, 0));
    text_free(&first_source->path);
    first_source->path = nullptr;
    OrderedList* copy = numbered_list(0);
    std::int64_t before_copy = allocated_bytes();
    ASSERT_EQ(list_copy(source, copy, 1), 1);
    EXPECT_GE(allocated_bytes() - before_copy, text_bytes - text_bytes / 20);
    list_free(source);  // the copies must not depend on the source's texts
    ASSERT_EQ(list_count(copy), element_count);
    auto* first = static_cast<Track*>(list_select(copy, 0));
    EXPECT_EQ(first->path, nullptr);  // an empty text stays empty
    EXPECT_TRUE(text_equal(first->title, text_for(0, u't').c_str()));
    for (int n = 1; n < element_count; ++n) {
        auto* track = static_cast<Track*>(list_select(copy, n));
        ASSERT_EQ(track->number, n);
        ASSERT_TRUE(text_equal(track->title, text_for(n, u't').c_str()));
        ASSERT_TRUE(text_equal(track->path, text_for(n, u'p').c_str()));
    }
    list_free(copy);
}
