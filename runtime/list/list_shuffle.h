// The two ways list_shuffle_range reorders a run of nodes. Both give the same
// order for the same random sequence; the in-place way is the fallback when
// the temporary array cannot be allocated, and is exposed so tests can run it.
#pragma once

struct OrderedList;
struct ListNode;

// Shuffles the n nodes starting at first (n >= 2). False, with nothing
// changed, when the array could not be allocated.
bool shuffle_nodes_with_array(OrderedList* list, ListNode* first, int n);
void shuffle_nodes_in_place(OrderedList* list, ListNode* first, int n);
