// Heaps on the platform's private heaps (HeapCreate): destroying one frees
// every block in it at once.
#include "runtime/core/heap.h"

#include <windows.h>

Heap* heap_create(std::size_t initial_size) {
    return reinterpret_cast<Heap*>(HeapCreate(0, initial_size, 0));
}

void heap_destroy(Heap* heap) {
    if (heap) HeapDestroy(reinterpret_cast<HANDLE>(heap));
}

void* heap_alloc(Heap* heap, std::size_t size) {
    return heap ? HeapAlloc(reinterpret_cast<HANDLE>(heap), HEAP_ZERO_MEMORY, size) : nullptr;
}

void* heap_realloc(Heap* heap, void* block, std::size_t size) {
    if (!heap) return nullptr;
    if (!block) return heap_alloc(heap, size);
    return HeapReAlloc(reinterpret_cast<HANDLE>(heap), 0, block, size);
}

void heap_free(Heap* heap, void* block) {
    if (heap && block) HeapFree(reinterpret_cast<HANDLE>(heap), 0, block);
}
