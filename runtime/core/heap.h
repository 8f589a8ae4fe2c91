// Heaps: growable private memory pools. Everything allocated from a heap goes
// away when the heap is destroyed, which is how the runtime ends without
// walking every block.
#pragma once

#include <cstddef>

struct Heap;

Heap* heap_create(std::size_t initial_size);
void heap_destroy(Heap* heap);
void* heap_alloc(Heap* heap, std::size_t size);         // zero-filled; nullptr when out of memory
void* heap_realloc(Heap* heap, void* block, std::size_t size);  // block may be nullptr
void heap_free(Heap* heap, void* block);                 // block may be nullptr
