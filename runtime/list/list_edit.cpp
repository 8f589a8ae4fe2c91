// Adding, appending, removing, clearing, moving and swapping elements.
#include <cstdint>

#include "runtime/list/list.h"
#include "runtime/list/list_record.h"

namespace {
// A zero-filled node (texts null, which reads as empty), or nullptr when the
// pool is exhausted or the count would overflow.
ListNode* new_node(OrderedList* list) {
    if (list->count == INT32_MAX) return nullptr;
    return static_cast<ListNode*>(node_pool_take(&list->pool));
}
}  // namespace

void* list_add(OrderedList* list) {
    if (!list) return nullptr;
    ListNode* node = new_node(list);
    if (!node) return nullptr;
    list->count += 1;
    ListNode* after = list->current;
    if (!after) {
        node->next = list->first;
        if (list->first) list->first->prev = node;
        list->first = node;
        list->current_index = 0;
        list->index_stale = 0;
    } else {
        node->prev = after;
        node->next = after->next;
        if (after->next) after->next->prev = node;
        after->next = node;
        list->current_index += 1;
    }
    if (!node->next) list->last = node;
    set_current(list, node);
    return element_of(node);
}

void* list_append(OrderedList* list) {
    if (!list) return nullptr;
    ListNode* node = new_node(list);
    if (!node) return nullptr;
    node->prev = list->last;
    if (list->last) list->last->next = node; else list->first = node;
    list->last = node;
    list->count += 1;
    list->current_index = list->count - 1;
    list->index_stale = 0;
    set_current(list, node);
    return element_of(node);
}

void list_remove(OrderedList* list, void* element) {
    if (!list || !element) return;
    ListNode* node = node_of(element);
    if (node->prev) node->prev->next = node->next; else list->first = node->next;
    if (node->next) node->next->prev = node->prev; else list->last = node->prev;
    list->count -= 1;
    if (node == list->current) set_current(list, nullptr);
    // Whether the removed node lay before the current one is unknown without
    // a walk, so the index is no longer trusted either way.
    list->index_stale = 1;
    list_discard_node(list, node);
}

void list_move(OrderedList* list, void* element, void* before) {
    if (!list || !element || element == before) return;
    ListNode* node = node_of(element);
    ListNode* next = before ? node_of(before) : nullptr;
    if (node->next == next) return;  // already there
    if (node->prev) node->prev->next = node->next; else list->first = node->next;
    if (node->next) node->next->prev = node->prev; else list->last = node->prev;
    node->next = next;
    node->prev = next ? next->prev : list->last;
    if (node->prev) node->prev->next = node; else list->first = node;
    if (next) next->prev = node; else list->last = node;
    list->index_stale = 1;
}

void list_clear(OrderedList* list) {
    if (!list) return;
    for (ListNode* node = list->first; node;) {
        ListNode* next = node->next;
        list_discard_node(list, node);
        node = next;
    }
    list->first = nullptr;
    list->last = nullptr;
    set_current(list, nullptr);
    list->count = 0;
    list->index_stale = 1;
}

void list_swap_nodes(OrderedList* list, ListNode* a, ListNode* b) {
    if (b->next == a) {
        ListNode* t = a;
        a = b;
        b = t;
    }
    ListNode* a_prev = a->prev;
    ListNode* a_next = a->next;
    ListNode* b_prev = b->prev;
    ListNode* b_next = b->next;
    if (a_next == b) {
        // a b  ->  b a
        b->prev = a_prev;
        b->next = a;
        a->prev = b;
        a->next = b_next;
    } else {
        b->prev = a_prev;
        b->next = a_next;
        a->prev = b_prev;
        a->next = b_next;
    }
    // Point the outer neighbours (or the list's ends) back at the moved nodes;
    // in the adjacent case this also re-asserts the link between a and b.
    if (b->prev) b->prev->next = b; else list->first = b;
    if (b->next) b->next->prev = b; else list->last = b;
    if (a->prev) a->prev->next = a; else list->first = a;
    if (a->next) a->next->prev = a; else list->last = a;
    list->index_stale = 1;
}

void list_swap(OrderedList* list, void* a, void* b) {
    if (!list || !a || !b || a == b) return;
    list_swap_nodes(list, node_of(a), node_of(b));
}
