// Moving the current element: list_select, list_next, list_reset, list_add.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "tests/list/list_test_support.h"

namespace {
constexpr int no_start = -100;  // no known current index: the list was reset
}  // namespace

TEST(ListSelect, EveryIndexFromEveryStartingPointGivesTheRightElement) {
    // Odd and even counts, with and without a known current index: every walk
    // (from first, from last, from the current element in both directions).
    for (int count : {11, 10}) {
        ListOwnerPair owner{};
        OrderedList* list = numbered_list(count, &owner);
        ASSERT_NE(list, nullptr);
        for (int start = no_start; start < count; start = start == no_start ? 0 : start + 1) {
            for (int index = -1; index <= count; ++index) {
                if (start == no_start) list_reset(list); else list_select(list, start);
                void* element = list_select(list, index);
                bool inside = index >= 0 && index < count;
                ASSERT_EQ(number_of(element), inside ? index : -1)
                    << "count " << count << ", from " << start << " to " << index;
                EXPECT_EQ(owner.current, element);
                EXPECT_EQ(list_current_index(list), inside ? index : -1);
            }
        }
        expect_consistent(list, in_order(count));
        list_free(list);
    }
}

TEST(ListSelect, AfterASwapTheOldIndexIsNotTrusted) {
    // The current element moves with a swap while its remembered index does
    // not; selection must then walk from the ends, not from the current node.
    OrderedList* list = numbered_list(11);
    std::vector<void*> elements;
    for (int n = 0; n < 11; ++n) elements.push_back(list_select(list, n));
    for (int start = 0; start < 11; ++start) {
        int partner = (start + 4) % 11;
        for (int index = 0; index < 11; ++index) {
            void* current = list_select(list, start);
            list_swap(list, current, elements[static_cast<std::size_t>(partner)]);
            EXPECT_EQ(list_current(list), current);
            EXPECT_EQ(list_current_index(list), -1);
            int expected = index == start ? partner : index == partner ? start : index;
            ASSERT_EQ(number_of(list_select(list, index)), expected)
                << "current " << start << " moved to " << partner << ", selecting " << index;
            list_swap(list, current, elements[static_cast<std::size_t>(partner)]);
        }
    }
    expect_consistent(list, in_order(11));
    list_free(list);
}

TEST(ListSelect, OutsideTheListLeavesNoCurrentAndTheNextAddGoesToTheFront) {
    for (int bad_index : {-1, 5}) {
        ListOwnerPair owner{};
        OrderedList* list = numbered_list(5, &owner);
        list_select(list, 2);
        EXPECT_EQ(list_select(list, bad_index), nullptr);
        EXPECT_EQ(list_current(list), nullptr);
        EXPECT_EQ(owner.current, nullptr);
        auto* added = static_cast<Track*>(list_add(list));
        ASSERT_NE(added, nullptr);
        added->number = 99;
        EXPECT_EQ(list_current_index(list), 0);
        EXPECT_EQ(owner.current, added);
        expect_consistent(list, {99, 0, 1, 2, 3, 4});
        list_free(list);
    }
}

TEST(ListAdd, InsertsAfterTheCurrentElementAndMakesItCurrent) {
    ListOwnerPair owner{};
    OrderedList* list = list_new(sizeof(Track), &owner, &track_layout);
    // Repeated adds append in order.
    for (int n = 0; n < 4; ++n) {
        auto* track = static_cast<Track*>(list_add(list));
        ASSERT_NE(track, nullptr);
        track->number = n;
        EXPECT_EQ(owner.current, track);
        EXPECT_EQ(list_current_index(list), n);
    }
    expect_consistent(list, {0, 1, 2, 3});
    list_select(list, 1);
    static_cast<Track*>(list_add(list))->number = 10;
    EXPECT_EQ(list_current_index(list), 2);
    static_cast<Track*>(list_add(list))->number = 11;
    EXPECT_EQ(list_current_index(list), 3);
    expect_consistent(list, {0, 1, 10, 11, 2, 3});
    list_select(list, 5);
    static_cast<Track*>(list_add(list))->number = 12;  // after the last: the new last
    expect_consistent(list, {0, 1, 10, 11, 2, 3, 12});
    list_reset(list);
    static_cast<Track*>(list_add(list))->number = 13;  // no current: the new first
    EXPECT_EQ(list_current_index(list), 0);
    expect_consistent(list, {13, 0, 1, 10, 11, 2, 3, 12});
    list_clear(list);
    static_cast<Track*>(list_add(list))->number = 14;
    expect_consistent(list, {14});
    list_free(list);
}

TEST(ListAdd, NewElementsAreZeroEvenWhenTheirNodeIsReused) {
    OrderedList* list = list_new(sizeof(Track), nullptr, nullptr);
    std::vector<void*> elements;
    for (int n = 0; n < 40; ++n) {
        auto* track = static_cast<Track*>(list_append(list));
        std::memset(track, 0xA5, sizeof(Track));  // no text fields in this layout
        elements.push_back(track);
    }
    for (void* element : elements) list_remove(list, element);
    for (int n = 0; n < 40; ++n) {
        auto* bytes = static_cast<unsigned char*>(list_add(list));
        ASSERT_NE(bytes, nullptr);
        for (std::size_t b = 0; b < sizeof(Track); ++b) ASSERT_EQ(bytes[b], 0) << "element " << n;
    }
    list_free(list);
}

TEST(ListNext, AdvancesFromNoneToFirstAndStopsOnTheLast) {
    ListOwnerPair owner{};
    OrderedList* list = list_new(sizeof(Track), &owner, &track_layout);
    EXPECT_EQ(list_next(list), nullptr);  // empty: nothing becomes current
    EXPECT_EQ(list_current(list), nullptr);
    list_free(list);

    list = numbered_list(4, &owner);
    list_reset(list);
    for (int n = 0; n < 4; ++n) {
        void* element = list_next(list);
        ASSERT_EQ(number_of(element), n);
        EXPECT_EQ(owner.current, element);
        EXPECT_EQ(list_current_index(list), n);
    }
    EXPECT_EQ(list_next(list), nullptr);
    EXPECT_EQ(number_of(list_current(list)), 3);
    EXPECT_EQ(number_of(owner.current), 3);
    EXPECT_EQ(list_current_index(list), 3);
    list_reset(list);
    EXPECT_EQ(owner.current, nullptr);
    EXPECT_EQ(number_of(list_next(list)), 0);
    list_select(list, 1);
    EXPECT_EQ(number_of(list_next(list)), 2);
    EXPECT_EQ(list_current_index(list), 2);
    expect_consistent(list, {0, 1, 2, 3});
    list_free(list);
}

TEST(ListCursor, MissingListsAreIgnored) {
    EXPECT_EQ(list_select(nullptr, 0), nullptr);
    EXPECT_EQ(list_add(nullptr), nullptr);
    EXPECT_EQ(list_next(nullptr), nullptr);
    EXPECT_EQ(list_append(nullptr), nullptr);
    list_reset(nullptr);
    list_clear(nullptr);
    list_free(nullptr);
    EXPECT_EQ(list_count(nullptr), 0);
    EXPECT_EQ(list_current_index(nullptr), -1);
    EXPECT_EQ(list_current(nullptr), nullptr);
}
