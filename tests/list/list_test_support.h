// What the list tests share: a numbered element with two text fields, lists
// built from numbers, and a check of every link of a list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "runtime/list/list.h"

struct Track {
    char16_t* title;
    std::int32_t number;
    char16_t* path;
};

extern const ElementLayout track_layout;

// A list (with the given owner pair, or its own) holding tracks numbered
// 0..count-1 in order; the last one is current.
OrderedList* numbered_list(int count, ListOwnerPair* owner = nullptr);
int number_of(void* element);  // -1 for none
std::vector<int> in_order(int count);  // 0, 1, ..., count - 1

// Numbers walking the links from first to last, and from last to first
// (reported in forward order, so both should be equal).
std::vector<int> forward_numbers(const OrderedList* list);
std::vector<int> backward_numbers(const OrderedList* list);

// Count, ends, both walks and the current element agree with the expected
// order; the current element (if any) is in the list, and its index, when
// known, is its position. Reports failures through gtest.
void expect_consistent(const OrderedList* list, const std::vector<int>& expected);
