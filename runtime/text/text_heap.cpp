// The text heap: created at start-up, destroyed at the end with every text
// and builder buffer still in it.
#include <atomic>
#include <cstdlib>

#include "runtime/text/text.h"
#include "runtime/text/text_builder.h"

namespace {
std::atomic<Heap*> heap{nullptr};
}  // namespace

Heap* text_heap() { return heap.load(std::memory_order_acquire); }

void text_out_of_memory() { std::abort(); }

bool text_init() {
    if (text_heap()) return true;
    Heap* created = heap_create(4096);
    if (!created) return false;
    heap.store(created, std::memory_order_release);
    text_heap_generation.fetch_add(1, std::memory_order_acq_rel);
    text_builder();
    return true;
}

void text_end() {
    Heap* destroyed = heap.exchange(nullptr, std::memory_order_acq_rel);
    if (!destroyed) return;
    // The new generation marks every builder record, the main thread's too, as
    // pointing into a heap that is gone.
    text_heap_generation.fetch_add(1, std::memory_order_acq_rel);
    text_builders_forget();
    heap_destroy(destroyed);
}
