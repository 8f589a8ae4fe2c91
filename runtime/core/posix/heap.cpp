// Heaps over malloc: each block carries a link so that destroying the heap can
// free whatever is still in it, as the platform heaps do on Windows.
#include "runtime/core/heap.h"

#include <cstdlib>
#include <cstring>
#include <mutex>

namespace {
struct Block {
    Block* prev;
    Block* next;
    alignas(std::max_align_t) unsigned char data[1];
};
constexpr std::size_t header_size = offsetof(Block, data);

Block* block_of(void* data) {
    return reinterpret_cast<Block*>(static_cast<unsigned char*>(data) - header_size);
}
}  // namespace

struct Heap {
    std::mutex lock;
    Block* first = nullptr;

    void link(Block* b) {
        b->prev = nullptr;
        b->next = first;
        if (first) first->prev = b;
        first = b;
    }
    void unlink(Block* b) {
        if (b->prev) b->prev->next = b->next; else first = b->next;
        if (b->next) b->next->prev = b->prev;
    }
};

Heap* heap_create(std::size_t) { return new (std::nothrow) Heap; }

void heap_destroy(Heap* heap) {
    if (!heap) return;
    for (Block* b = heap->first; b;) {
        Block* next = b->next;
        std::free(b);
        b = next;
    }
    delete heap;
}

void* heap_alloc(Heap* heap, std::size_t size) {
    if (!heap) return nullptr;
    auto* b = static_cast<Block*>(std::calloc(1, header_size + size));
    if (!b) return nullptr;
    std::lock_guard guard(heap->lock);
    heap->link(b);
    return b->data;
}

void* heap_realloc(Heap* heap, void* data, std::size_t size) {
    if (!heap) return nullptr;
    if (!data) return heap_alloc(heap, size);
    std::lock_guard guard(heap->lock);
    Block* old = block_of(data);
    heap->unlink(old);
    auto* b = static_cast<Block*>(std::realloc(old, header_size + size));
    if (!b) {
        heap->link(old);
        return nullptr;
    }
    heap->link(b);
    return b->data;
}

void heap_free(Heap* heap, void* data) {
    if (!heap || !data) return;
    std::lock_guard guard(heap->lock);
    Block* b = block_of(data);
    heap->unlink(b);
    std::free(b);
}
