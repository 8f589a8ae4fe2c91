// Moving the current element: by index, to the next element, or to none.
#include "runtime/list/list.h"
#include "runtime/list/list_record.h"

namespace {
ListNode* forward(ListNode* node, int steps) {
    while (steps-- > 0) node = node->next;
    return node;
}

ListNode* backward(ListNode* node, int steps) {
    while (steps-- > 0) node = node->prev;
    return node;
}

// Walks from whichever known node (first, last or current) is the fewest links
// away, so stepping through the indices in order costs one link per step.
ListNode* walk_to(const OrderedList* list, int index, int old_index) {
    int count = list->count;
    if (list->index_stale || !list->current) {
        return index < count / 2 ? forward(list->first, index) : backward(list->last, count - index - 1);
    }
    if (index > old_index) {
        return index - old_index < count - index ? forward(list->current, index - old_index)
                                                 : backward(list->last, count - index - 1);
    }
    return old_index - index < index ? backward(list->current, old_index - index) : forward(list->first, index);
}
}  // namespace

void* list_select(OrderedList* list, int index) {
    if (!list) return nullptr;
    int old_index = list->current_index;
    list->current_index = index;
    if (index < 0 || index >= list->count) {
        set_current(list, nullptr);
        list->index_stale = 1;
        return nullptr;
    }
    set_current(list, walk_to(list, index, old_index));
    list->index_stale = 0;
    return element_of(list->current);
}

void list_reset(OrderedList* list) {
    if (!list) return;
    set_current(list, nullptr);
    list->index_stale = 1;
}

void* list_next(OrderedList* list) {
    if (!list) return nullptr;
    ListNode* node = list->current;
    if (!node) {
        if (list->first) {
            list->current_index = 0;
            list->index_stale = 0;
        }
        set_current(list, list->first);
        return element_of(list->first);
    }
    if (!node->next) {
        set_current(list, node);
        return nullptr;
    }
    list->current_index += 1;
    set_current(list, node->next);
    return element_of(node->next);
}
