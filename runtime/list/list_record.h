// The records behind an OrderedList, shared by the list's own source files
// (and by tests that walk the links to check them).
#pragma once

#include <cstdint>

#include "runtime/list/list.h"
#include "runtime/list/node_pool.h"

// Next, previous, then the element's bytes (at element_offset).
struct ListNode {
    ListNode* next;
    ListNode* prev;
};

inline constexpr std::size_t element_offset = sizeof(ListNode);

struct OrderedList {
    ListNode* first;
    ListNode* last;
    ListNode* current;
    void** current_slot;       // the owner pair's current word
    std::int32_t count;
    std::int32_t current_index;  // trusted only while index_stale is 0
    const ElementLayout* layout;
    NodePool pool;
    ListOwnerPair* owner;
    std::uint32_t node_size;   // element size plus the two links
    std::uint8_t index_stale;
    std::uint8_t has_texts;
    std::uint8_t owns_pair;
};

inline void* element_of(ListNode* node) {
    return node ? reinterpret_cast<unsigned char*>(node) + element_offset : nullptr;
}

inline ListNode* node_of(void* element) {
    return element ? reinterpret_cast<ListNode*>(static_cast<unsigned char*>(element) - element_offset)
                   : nullptr;
}

inline std::size_t element_size_of(const OrderedList* list) {
    return list->node_size - element_offset;
}

// Makes node current and publishes its element to the owner.
inline void set_current(OrderedList* list, ListNode* node) {
    list->current = node;
    *list->current_slot = element_of(node);
}

// Shared by removal and clearing: frees the element's texts and returns the
// node to the pool. The node must already be out of the chain.
void list_discard_node(OrderedList* list, ListNode* node);

// Exchanges the places of two distinct nodes of the list.
void list_swap_nodes(OrderedList* list, ListNode* a, ListNode* b);
