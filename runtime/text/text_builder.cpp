// The per-thread text builder: a growable buffer in the text heap into which
// texts are appended from marks, then assigned or passed on and rewound.
#include "runtime/text/text_builder.h"

#include <pthread.h>

#include <atomic>
#include <climits>
#include <cstring>

#include "runtime/text/text.h"

namespace {
constexpr int first_capacity = 16;
constexpr int growth_margin = 16384;  // extra room taken at each growth
constexpr int block_slack = 10;       // bytes a grown buffer has beyond its capacity

std::atomic<int> live_builders{0};

// Frees a thread's builder when the thread ends. The record is the key's
// value, handed to this function: in the Windows builds a thread-local
// object's destructor runs after the emulated storage that holds it was
// freed, so it would read freed memory. The main thread's buffer normally
// went away with the heap already; the generation tells.
void free_builder(void* record) {
    auto* builder = static_cast<TextBuilder*>(record);
    if (builder->buffer && builder->generation == text_generation()) {
        heap_free(text_heap(), builder->buffer);
        live_builders.fetch_sub(1, std::memory_order_relaxed);
    }
    delete builder;
}

pthread_key_t builder_key() {
    static const pthread_key_t key = [] {
        pthread_key_t made;
        if (pthread_key_create(&made, free_builder) != 0) text_out_of_memory();
        return made;
    }();
    return key;
}

// Marks and positions from callers: clamped to the text built so far, even.
int clamp_mark(const TextBuilder& builder, int mark) {
    if (mark < 0) return 0;
    if (mark > builder.position) return builder.position;
    return mark & ~1;
}
}  // namespace

TextBuilder& text_builder_create() {
    if (!text_current_builder) {
        auto* record = new TextBuilder{};
        pthread_setspecific(builder_key(), record);
        text_current_builder = record;
    }
    TextBuilder& builder = *text_current_builder;
    Heap* heap = text_heap();
    auto* buffer = heap ? static_cast<char16_t*>(heap_alloc(heap, first_capacity)) : nullptr;
    if (!buffer) text_out_of_memory();
    builder = TextBuilder{buffer, first_capacity, 0, text_generation()};
    live_builders.fetch_add(1, std::memory_order_relaxed);
    return builder;
}

int text_builder_live_count() { return live_builders.load(std::memory_order_relaxed); }

void text_builders_forget() { live_builders.store(0, std::memory_order_relaxed); }

char16_t* text_builder_room(TextBuilder& builder, std::int64_t char_count, int position) {
    if (char_count < 0) char_count = 0;
    if (char_count > INT_MAX / 2) text_out_of_memory();
    int at = position < 0 || position > builder.position ? builder.position : position & ~1;
    std::int64_t needed_end = std::int64_t{builder.position} + 2 * char_count;
    if (needed_end >= builder.capacity - 4) {
        std::int64_t capacity = needed_end + growth_margin;
        if (capacity > INT_MAX - block_slack) text_out_of_memory();
        void* grown = heap_realloc(text_heap(), builder.buffer,
                                   static_cast<std::size_t>(capacity + block_slack));
        if (!grown) text_out_of_memory();
        builder.buffer = static_cast<char16_t*>(grown);
        builder.capacity = static_cast<int>(capacity);
    }
    builder.position = at + static_cast<int>(2 * char_count);
    return builder.buffer + at / 2;
}

TextSource text_source(const TextBuilder& builder, const char16_t* text) {
    if (!text) return {u"", -1};
    auto address = reinterpret_cast<std::uintptr_t>(text);
    auto start = reinterpret_cast<std::uintptr_t>(builder.buffer);
    if (address >= start && address < start + static_cast<std::uintptr_t>(builder.capacity))
        return {text, static_cast<std::intptr_t>(address - start)};
    return {text, -1};
}

const char16_t* text_source_fetch(const TextBuilder& builder, const TextSource& source) {
    if (source.offset < 0) return source.text;
    return reinterpret_cast<const char16_t*>(reinterpret_cast<const unsigned char*>(builder.buffer) +
                                             source.offset);
}

char16_t* text_put_part(TextBuilder& builder, const TextSource& source, int start, int length,
                        int position) {
    char16_t* at = text_builder_room(builder, length, position);
    std::memmove(at, text_source_fetch(builder, source) + start, sizeof(char16_t) * length);
    at[length] = 0;
    return at;
}

void text_builder_ensure() { text_builder(); }

int text_builder_mark() { return text_builder().position; }

void text_builder_append(const char16_t* text) {
    TextBuilder& builder = text_builder();
    TextSource source = text_source(builder, text);
    text_put_part(builder, source, 0, text_char_count(source.text), -1);
}

void text_builder_assign(char16_t** variable, int mark) {
    TextBuilder& builder = text_builder();
    int from = clamp_mark(builder, mark);
    if (variable) {
        int bytes = builder.position - from;
        void* block = heap_realloc(text_heap(), *variable,
                                   static_cast<std::size_t>(bytes) + block_slack);
        if (!block) text_out_of_memory();
        auto* text = static_cast<char16_t*>(block);
        std::memcpy(text, builder.buffer + from / 2, static_cast<std::size_t>(bytes));
        text[bytes / 2] = 0;
        *variable = text;
    }
    builder.position = from;
}

char16_t* text_builder_reserve(int char_count, int position) {
    return text_builder_room(text_builder(), char_count, position);
}

void text_builder_release(int char_count) {
    TextBuilder& builder = text_builder();
    if (char_count <= 0) return;
    std::int64_t position = std::int64_t{builder.position} - 2 * std::int64_t{char_count};
    builder.position = position < 0 ? 0 : static_cast<int>(position);
}

void text_builder_rewind(int mark) {
    TextBuilder& builder = text_builder();
    builder.position = clamp_mark(builder, mark);
}

char16_t* text_builder_address(int mark) {
    TextBuilder& builder = text_builder();
    return builder.buffer + clamp_mark(builder, mark) / 2;
}
