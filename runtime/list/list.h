// Ordered lists: doubly linked lists of fixed-size elements with a current
// element, and the runtime's random generator (used by the shuffle).
//
// Elements are plain bytes handed out by address; the links are never
// visible. Fields named by the element layout are texts (char16_t* owned by
// the element): new elements hold null there (which reads as the empty text),
// removing or clearing an element frees them, copying copies them. Every
// operation that moves the current element also stores it in the owner pair,
// so callers can read the current element's fields directly.
#pragma once

#include <cstddef>
#include <cstdint>

struct OrderedList;

// The owner's variable for a list: the list and its current element.
struct ListOwnerPair {
    OrderedList* list;
    void* current;
};

// Which fields of an element are texts: byte offsets of char16_t* fields.
struct ElementLayout {
    const std::size_t* text_offsets;
    int text_count;
};

bool list_init();  // start-up step of the ordered-list service

// Null when the layout names a text field outside the element or not aligned
// like a pointer. A null owner pair is allocated by the list and freed with it.
OrderedList* list_new(std::size_t element_size, ListOwnerPair* owner, const ElementLayout* layout);
void list_free(OrderedList* list);
void* list_select(OrderedList* list, int index);
void* list_add(OrderedList* list);
void list_swap(OrderedList* list, void* a, void* b);
void list_clear(OrderedList* list);
void list_reset(OrderedList* list);
void* list_next(OrderedList* list);
void list_shuffle(OrderedList* list);
void list_shuffle_range(OrderedList* list, int first, int last);
// Appends copies of the source's elements (the last copy becomes current).
// 0 when a list is missing, when element size or text fields differ, or when
// memory ran out part way. A list copied onto itself with clear_first stays
// as it is.
int list_copy(OrderedList* source, OrderedList* destination, int clear_first);

// The two the playlist needs: append after the last element (it becomes
// current), and remove one element of the list (if it was current, no element
// is current afterwards; either way the current index is no longer known).
void* list_append(OrderedList* list);
void list_remove(OrderedList* list, void* element);
// Moves an element of the list to stand just before another (nullptr: after
// the last); the current element stays current, its index no longer known.
void list_move(OrderedList* list, void* element, void* before);

// Read-only state, for callers and tests.
int list_count(const OrderedList* list);
int list_current_index(const OrderedList* list);  // -1 when none or not known
void* list_current(const OrderedList* list);

// Random numbers: uniform in 0..maximum; -1 gives the raw 32-bit value, and
// any other negative maximum gives 0.
std::int32_t random_int(std::int32_t maximum);
// Re-seeds the calling thread's generator. For tests only; the program never
// chooses a seed, so every run shuffles differently.
void random_seed_for_testing(std::uint32_t seed);
