// Random order of a list or a run of it: an inside-out shuffle into a
// temporary array, relinked in array order.
#include "runtime/list/list_shuffle.h"

#include <memory>
#include <new>

#include "runtime/list/list.h"
#include "runtime/list/list_record.h"

bool shuffle_nodes_with_array(OrderedList* list, ListNode* first, int n) {
    std::unique_ptr<ListNode*[]> a(new (std::nothrow) ListNode*[static_cast<std::size_t>(n)]);
    if (!a) return false;
    ListNode* before = first->prev;
    ListNode* x = first;
    a[0] = x;
    for (int k = 1; k < n; ++k) {
        x = x->next;
        int j = random_int(k);
        if (j == k) {
            a[k] = x;
        } else {
            a[k] = a[j];
            a[j] = x;
        }
    }
    ListNode* after = x->next;
    for (int k = 1; k < n; ++k) {
        a[k]->prev = a[k - 1];
        a[k - 1]->next = a[k];
    }
    a[0]->prev = before;
    if (before) before->next = a[0]; else list->first = a[0];
    a[n - 1]->next = after;
    if (after) after->prev = a[n - 1]; else list->last = a[n - 1];
    list->index_stale = 1;
    return true;
}

void shuffle_nodes_in_place(OrderedList* list, ListNode* first, int n) {
    // Position k of the run holds the k-th original node until step k; each
    // step swaps it with a random earlier position, as the array version does.
    ListNode* x = first;
    for (int k = 1; k < n; ++k) {
        x = x->next;
        int j = random_int(k);
        if (j == k) continue;
        ListNode* y = first;
        for (int t = 0; t < j; ++t) y = y->next;
        list_swap_nodes(list, x, y);
        if (y == first) first = x;
        x = y;
    }
    list->index_stale = 1;
}

void list_shuffle_range(OrderedList* list, int first, int last) {
    if (!list) return;
    ListNode* begin = nullptr;
    int n = 0;
    if (first == -1) {
        begin = list->first;
        n = list->count;
    } else {
        void* first_element = list_select(list, first);
        void* last_element = list_select(list, last);
        if (!first_element || !last_element || first >= last) return;
        begin = node_of(first_element);
        n = last - first + 1;
    }
    if (!begin || n <= 1) return;
    if (!shuffle_nodes_with_array(list, begin, n)) shuffle_nodes_in_place(list, begin, n);
}

void list_shuffle(OrderedList* list) { list_shuffle_range(list, -1, -1); }
