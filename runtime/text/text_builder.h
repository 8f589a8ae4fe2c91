// The text family's own view of its heap and of the per-thread builder: what
// the operations in this folder share and what is not part of the contract.
#pragma once

#include <atomic>
#include <cstdint>

#include "runtime/core/heap.h"

// One thread's builder. Positions and capacity are byte counts. Growing keeps
// the position at least 4 bytes below the capacity, so the null written behind
// the last character always fits in the buffer.
struct TextBuilder {
    char16_t* buffer;
    int capacity;
    int position;
    std::uint32_t generation;  // the heap generation the buffer belongs to
};

// The text heap, or nullptr outside text_init .. text_end.
Heap* text_heap();

// Changes at every text_init and text_end. A block or builder made under an
// older generation went away with its heap and must not be touched; one made
// under the current generation lives in the current heap.
inline std::atomic<std::uint32_t> text_heap_generation{1};
inline std::uint32_t text_generation() { return text_heap_generation.load(std::memory_order_acquire); }

// The calling thread's builder, created (or recreated after text_end) on use.
// The record is made on first use and freed when the thread ends; this plain
// pointer to it keeps each access cheap.
TextBuilder& text_builder_create();
inline constinit thread_local TextBuilder* text_current_builder = nullptr;
inline TextBuilder& text_builder() {
    TextBuilder* builder = text_current_builder;
    if (builder && builder->buffer && builder->generation == text_generation()) return *builder;
    return text_builder_create();
}

// Builders whose buffers live in the current heap, the main thread's included.
int text_builder_live_count();
void text_builders_forget();  // text_end: every buffer goes with the heap

// Room for char_count characters at a builder position (negative = current),
// growing the buffer when needed; the position moves behind that room.
char16_t* text_builder_room(TextBuilder& builder, std::int64_t char_count, int position);

// The text heap cannot give what a text needs: the process ends rather than
// carry on with a truncated or overwritten text.
[[noreturn]] void text_out_of_memory();

// A text that may lie in the builder's buffer, which moves when it grows: such
// a text is kept by its offset and found again after room has been made.
struct TextSource {
    const char16_t* text;  // never null: a null text reads as u""
    std::intptr_t offset;  // from the buffer's start in bytes, -1 when outside it
};
TextSource text_source(const TextBuilder& builder, const char16_t* text);
const char16_t* text_source_fetch(const TextBuilder& builder, const TextSource& source);

// Writes length characters of source from start at a builder position,
// null-terminated; the source may lie in the buffer, even under the result.
char16_t* text_put_part(TextBuilder& builder, const TextSource& source, int start, int length,
                        int position);
