// Changing a list's contents: swap, append, remove, clear, copy; lifetime
// and the owner pair.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <random>
#include <vector>

#include "tests/list/list_test_support.h"

namespace {
std::vector<void*> elements_of(OrderedList* list) {
    std::vector<void*> elements;
    for (int n = 0; n < list_count(list); ++n) elements.push_back(list_select(list, n));
    return elements;
}
}  // namespace

TEST(ListSwap, EveryPairExchangesPlacesAndKeepsTheCurrentNode) {
    // All pairs on short lists: neighbours in both argument orders, distant
    // elements, the first and the last, and an element with itself.
    for (int count : {1, 2, 3, 5}) {
        for (int a = 0; a < count; ++a) {
            for (int b = 0; b < count; ++b) {
                OrderedList* list = numbered_list(count);
                std::vector<void*> elements = elements_of(list);
                void* current = list_select(list, count / 2);
                list_swap(list, elements[static_cast<std::size_t>(a)], elements[static_cast<std::size_t>(b)]);
                std::vector<int> expected = in_order(count);
                std::swap(expected[static_cast<std::size_t>(a)], expected[static_cast<std::size_t>(b)]);
                SCOPED_TRACE(testing::Message() << "count " << count << ", swap " << a << " and " << b);
                EXPECT_EQ(list_current(list), current);
                // Only a swap with itself keeps the index: it changes nothing.
                EXPECT_EQ(list_current_index(list), a == b ? count / 2 : -1);
                expect_consistent(list, expected);
                EXPECT_EQ(number_of(list_select(list, 0)), expected.front());
                EXPECT_EQ(number_of(list_select(list, count - 1)), expected.back());
                list_free(list);
            }
        }
    }
}


TEST(ListMove, EveryElementToEveryPlaceKeepsTheCurrentNode) {
    // Every element before every other and to the end, on short lists.
    for (int count : {1, 2, 3, 5}) {
        for (int from = 0; from < count; ++from) {
            for (int before = 0; before <= count; ++before) {
                OrderedList* list = numbered_list(count);
                std::vector<void*> elements = elements_of(list);
                void* current = list_select(list, count / 2);
                list_move(list, elements[static_cast<std::size_t>(from)],
                          before == count ? nullptr : elements[static_cast<std::size_t>(before)]);
                std::vector<int> expected = in_order(count);
                if (before != from) {  // before itself: stays
                    expected.erase(expected.begin() + from);
                    const auto at =
                        before == count ? expected.end() : std::find(expected.begin(), expected.end(), before);
                    expected.insert(at, from);
                }
                SCOPED_TRACE(testing::Message() << "count " << count << ", " << from << " before " << before);
                EXPECT_EQ(list_current(list), current);
                expect_consistent(list, expected);
                list_free(list);
            }
        }
    }
}

// Swapping or moving with an element missing, or an element onto itself.
TEST(ListSwapAndMove, MissingArgumentsChangeNothing) {
    OrderedList* list = numbered_list(3);
    void* current = list_select(list, 1);
    list_swap(list, nullptr, current);
    list_swap(list, current, nullptr);
    list_swap(nullptr, current, current);
    list_move(list, nullptr, current);
    list_move(nullptr, current, nullptr);
    list_move(list, current, current);
    EXPECT_EQ(list_current_index(list), 1);
    expect_consistent(list, {0, 1, 2});
    list_free(list);
}

TEST(ListAppend, AddsAfterTheLastWhereverTheCurrentIs) {
    ListOwnerPair owner{};
    OrderedList* list = numbered_list(3, &owner);
    list_select(list, 0);
    auto* appended = static_cast<Track*>(list_append(list));
    ASSERT_NE(appended, nullptr);
    appended->number = 7;
    EXPECT_EQ(owner.current, appended);
    EXPECT_EQ(list_current_index(list), 3);
    list_reset(list);
    static_cast<Track*>(list_append(list))->number = 8;
    EXPECT_EQ(list_current_index(list), 4);
    expect_consistent(list, {0, 1, 2, 7, 8});
    list_free(list);
}

TEST(ListRemove, KeepsEndsCountAndCurrentRight) {
    ListOwnerPair owner{};
    OrderedList* list = numbered_list(5, &owner);
    std::vector<void*> elements = elements_of(list);
    list_select(list, 2);
    list_remove(list, elements[0]);  // first, not current
    EXPECT_EQ(list_current(list), elements[2]);
    EXPECT_EQ(owner.current, elements[2]);
    EXPECT_EQ(list_current_index(list), -1);
    expect_consistent(list, {1, 2, 3, 4});
    list_remove(list, elements[4]);  // last
    expect_consistent(list, {1, 2, 3});
    list_remove(list, elements[2]);  // current
    EXPECT_EQ(list_current(list), nullptr);
    EXPECT_EQ(owner.current, nullptr);
    expect_consistent(list, {1, 3});
    EXPECT_EQ(number_of(list_next(list)), 1);  // no current: next starts at the first
    list_remove(list, nullptr);
    list_remove(list, elements[1]);
    list_remove(list, elements[3]);
    expect_consistent(list, {});
    static_cast<Track*>(list_add(list))->number = 9;
    expect_consistent(list, {9});
    list_free(list);
}

TEST(ListEdit, RandomEditsMatchAPlainVector) {
    // A model of the list (elements in order and the current one) follows a
    // long random run of every moving operation; both walks, the ends, the
    // count, the owner pair and any known index must match it at every step.
    std::mt19937 pick(2024);
    ListOwnerPair owner{};
    OrderedList* list = list_new(sizeof(Track), &owner, &track_layout);
    std::vector<void*> model;
    void* model_current = nullptr;
    int next_number = 0;
    auto position = [&](void* element) {
        return static_cast<int>(std::find(model.begin(), model.end(), element) - model.begin());
    };
    auto numbers = [&] {
        std::vector<int> result;
        for (void* element : model) result.push_back(number_of(element));
        return result;
    };
    for (int step = 0; step < 3000; ++step) {
        int size = static_cast<int>(model.size());
        int op = static_cast<int>(pick() % 7);
        if (size == 0 && (op == 5 || op == 6)) op = 0;
        switch (op) {
        case 0: {
            auto* track = static_cast<Track*>(list_append(list));
            track->number = next_number++;
            model.push_back(track);
            model_current = track;
            EXPECT_EQ(list_current_index(list), size);
            break;
        }
        case 1: {
            auto* track = static_cast<Track*>(list_add(list));
            track->number = next_number++;
            int at = model_current ? position(model_current) + 1 : 0;
            model.insert(model.begin() + at, track);
            model_current = track;
            break;
        }
        case 2: {
            int index = static_cast<int>(pick() % static_cast<unsigned>(size + 2)) - 1;
            void* element = list_select(list, index);
            model_current = index >= 0 && index < size ? model[static_cast<std::size_t>(index)] : nullptr;
            EXPECT_EQ(element, model_current);
            if (element) {
                EXPECT_EQ(list_current_index(list), index);
            }
            break;
        }
        case 3: {
            void* element = list_next(list);
            if (!model_current) {
                model_current = size ? model.front() : nullptr;
                EXPECT_EQ(element, model_current);
            } else if (position(model_current) + 1 < size) {
                model_current = model[static_cast<std::size_t>(position(model_current) + 1)];
                EXPECT_EQ(element, model_current);
            } else {
                EXPECT_EQ(element, nullptr);
            }
            break;
        }
        case 4:
            list_reset(list);
            model_current = nullptr;
            break;
        case 5: {
            void* victim = model[pick() % static_cast<unsigned>(size)];
            list_remove(list, victim);
            model.erase(model.begin() + position(victim));
            if (victim == model_current) model_current = nullptr;
            break;
        }
        case 6: {
            int a = static_cast<int>(pick() % static_cast<unsigned>(size));
            int b = static_cast<int>(pick() % static_cast<unsigned>(size));
            list_swap(list, model[static_cast<std::size_t>(a)], model[static_cast<std::size_t>(b)]);
            std::swap(model[static_cast<std::size_t>(a)], model[static_cast<std::size_t>(b)]);
            break;
        }
        }
        ASSERT_EQ(list_current(list), model_current) << "step " << step << ", operation " << op;
        expect_consistent(list, numbers());
        if (HasFailure()) FAIL() << "step " << step << ", operation " << op;
    }
    list_free(list);
}

TEST(ListClear, EmptiesTheListAndTheListStaysUsable) {
    ListOwnerPair owner{};
    OrderedList* list = numbered_list(100, &owner);
    list_clear(list);
    EXPECT_EQ(owner.current, nullptr);
    EXPECT_EQ(list_current_index(list), -1);
    expect_consistent(list, {});
    EXPECT_EQ(list_next(list), nullptr);
    for (int n = 0; n < 50; ++n) static_cast<Track*>(list_append(list))->number = n;
    EXPECT_EQ(list_count(list), 50);
    EXPECT_EQ(number_of(list_select(list, 49)), 49);
    list_free(list);
}

TEST(ListLifetime, TheOwnerPairHoldsTheListUntilItIsFreed) {
    int leftover = 0;
    ListOwnerPair owner{reinterpret_cast<OrderedList*>(&leftover), &leftover};  // overwritten
    OrderedList* list = list_new(sizeof(Track), &owner, &track_layout);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(owner.list, list);
    EXPECT_EQ(owner.current, nullptr);
    EXPECT_EQ(list_current_index(list), -1);
    void* element = list_append(list);
    EXPECT_EQ(owner.current, element);
    list_free(list);
    EXPECT_EQ(owner.list, nullptr);
    EXPECT_EQ(owner.current, nullptr);

    // Without a pair the list makes and frees its own (a leak would show
    // under AddressSanitizer).
    list = numbered_list(3);
    ASSERT_NE(list, nullptr);
    expect_consistent(list, {0, 1, 2});
    list_free(list);
}

TEST(ListLifetime, LayoutsWithFieldsOutsideTheElementAreRefused) {
    const std::size_t beyond[] = {sizeof(Track)};
    const std::size_t misaligned[] = {1};
    const ElementLayout refused[] = {{beyond, 1}, {misaligned, 1}, {nullptr, 1}, {beyond, -1}};
    for (const ElementLayout& layout : refused) {
        ListOwnerPair owner{};
        EXPECT_EQ(list_new(sizeof(Track), &owner, &layout), nullptr);
        EXPECT_EQ(owner.list, nullptr);
    }
    // The last text field would hang over the end of a shortened element.
    EXPECT_EQ(list_new(sizeof(Track) - 1, nullptr, &track_layout), nullptr);
    const std::size_t last_field[] = {sizeof(Track) - sizeof(char16_t*)};
    const ElementLayout accepted = {last_field, 1};
    OrderedList* list = list_new(sizeof(Track), nullptr, &accepted);
    EXPECT_NE(list, nullptr);
    list_free(list);
    list = list_new(0, nullptr, nullptr);  // elements of no bytes still link
    ASSERT_NE(list, nullptr);
    EXPECT_NE(list_append(list), nullptr);
    EXPECT_NE(list_append(list), nullptr);
    EXPECT_EQ(list_count(list), 2);
    list_free(list);
}

TEST(ListCopy, AppendsCopiesAndTheLastCopyBecomesCurrent) {
    OrderedList* source = numbered_list(3);
    ListOwnerPair owner{};
    OrderedList* destination = list_new(sizeof(Track), &owner, &track_layout);
    static_cast<Track*>(list_append(destination))->number = 100;
    list_select(destination, 0);
    EXPECT_EQ(list_copy(source, destination, 0), 1);
    expect_consistent(destination, {100, 0, 1, 2});
    EXPECT_EQ(list_current_index(destination), 3);
    EXPECT_EQ(number_of(owner.current), 2);
    expect_consistent(source, {0, 1, 2});

    EXPECT_EQ(list_copy(source, destination, 1), 1);
    expect_consistent(destination, {0, 1, 2});

    // Onto itself: appending doubles it once; clearing first keeps it as it is.
    EXPECT_EQ(list_copy(source, source, 0), 1);
    expect_consistent(source, {0, 1, 2, 0, 1, 2});
    EXPECT_EQ(list_copy(source, source, 1), 1);
    expect_consistent(source, {0, 1, 2, 0, 1, 2});

    OrderedList* empty = numbered_list(0);
    EXPECT_EQ(list_copy(empty, destination, 0), 1);
    expect_consistent(destination, {0, 1, 2});
    EXPECT_EQ(list_copy(empty, destination, 1), 1);
    expect_consistent(destination, {});

    EXPECT_EQ(list_copy(nullptr, destination, 0), 0);
    EXPECT_EQ(list_copy(source, nullptr, 0), 0);
    list_free(empty);
    list_free(source);
    list_free(destination);
}

TEST(ListCopy, ListsOfOtherShapesAreRefusedUntouched) {
    OrderedList* tracks = numbered_list(2);
    OrderedList* bigger = list_new(sizeof(Track) + 8, nullptr, &track_layout);
    OrderedList* textless = list_new(sizeof(Track), nullptr, nullptr);
    list_append(bigger);
    list_append(textless);
    EXPECT_EQ(list_copy(tracks, bigger, 1), 0);
    EXPECT_EQ(list_copy(bigger, tracks, 0), 0);
    EXPECT_EQ(list_copy(tracks, textless, 1), 0);
    EXPECT_EQ(list_copy(textless, tracks, 0), 0);
    EXPECT_EQ(list_count(bigger), 1);
    EXPECT_EQ(list_count(textless), 1);
    expect_consistent(tracks, {0, 1});
    list_free(tracks);
    list_free(bigger);
    list_free(textless);
}
