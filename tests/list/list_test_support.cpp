#include "tests/list/list_test_support.h"

#include <gtest/gtest.h>

#include <numeric>

#include "runtime/list/list_record.h"
#include "runtime/text/text.h"

namespace {
const std::size_t track_text_offsets[] = {offsetof(Track, title), offsetof(Track, path)};

// Elements' texts live in the text heap, which must exist for every test.
class TextHeapEnvironment : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_TRUE(text_init()); }
    void TearDown() override { text_end(); }
};

[[maybe_unused]] ::testing::Environment* const text_environment =
    ::testing::AddGlobalTestEnvironment(new TextHeapEnvironment);
}  // namespace

const ElementLayout track_layout = {track_text_offsets, 2};

OrderedList* numbered_list(int count, ListOwnerPair* owner) {
    OrderedList* list = list_new(sizeof(Track), owner, &track_layout);
    for (int n = 0; list && n < count; ++n) static_cast<Track*>(list_append(list))->number = n;
    return list;
}

std::vector<int> in_order(int count) {
    std::vector<int> numbers(static_cast<std::size_t>(count));
    std::iota(numbers.begin(), numbers.end(), 0);
    return numbers;
}

int number_of(void* element) { return element ? static_cast<Track*>(element)->number : -1; }

std::vector<int> forward_numbers(const OrderedList* list) {
    std::vector<int> numbers;
    for (ListNode* node = list->first; node && numbers.size() <= static_cast<std::size_t>(list->count);
         node = node->next)
        numbers.push_back(number_of(element_of(node)));
    return numbers;
}

std::vector<int> backward_numbers(const OrderedList* list) {
    std::vector<int> numbers;
    for (ListNode* node = list->last; node && numbers.size() <= static_cast<std::size_t>(list->count);
         node = node->prev)
        numbers.insert(numbers.begin(), number_of(element_of(node)));
    return numbers;
}

void expect_consistent(const OrderedList* list, const std::vector<int>& expected) {
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list_count(list), static_cast<int>(expected.size()));
    EXPECT_EQ(forward_numbers(list), expected);
    EXPECT_EQ(backward_numbers(list), expected);
    if (expected.empty()) {
        EXPECT_EQ(list->first, nullptr);
        EXPECT_EQ(list->last, nullptr);
    } else {
        ASSERT_NE(list->first, nullptr);
        ASSERT_NE(list->last, nullptr);
        EXPECT_EQ(list->first->prev, nullptr);
        EXPECT_EQ(list->last->next, nullptr);
    }
    EXPECT_EQ(list->owner->list, list);
    EXPECT_EQ(list->owner->current, list_current(list));
    if (!list->current) return;
    int position = 0;
    ListNode* node = list->first;
    while (node && node != list->current) {
        node = node->next;
        ++position;
    }
    EXPECT_EQ(node, list->current) << "the current element is not in the list";
    int index = list_current_index(list);
    if (index != -1) {
        EXPECT_EQ(index, position);
    }
}
