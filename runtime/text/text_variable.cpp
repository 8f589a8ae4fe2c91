// Text variables: blocks in the text heap owned by the variable that holds
// them, sized exactly to the text at every assignment.
#include <cstdint>
#include <cstring>

#include "runtime/text/text.h"
#include "runtime/text/text_builder.h"

namespace {
std::size_t block_size(int length) { return sizeof(char16_t) * static_cast<std::size_t>(length) + 10; }

// Whether text lies in the variable's own block (the text, its null included).
bool inside(const char16_t* block, const char16_t* text) {
    if (!block) return false;
    auto address = reinterpret_cast<std::uintptr_t>(text);
    auto start = reinterpret_cast<std::uintptr_t>(block);
    auto end = reinterpret_cast<std::uintptr_t>(block + text_char_count(block));
    return address >= start && address <= end;
}
}  // namespace

void text_assign(char16_t** variable, const char16_t* text) {
    if (!variable) return;
    if (!text) {
        text_free(variable);
        return;
    }
    int length = text_char_count(text);
    if (inside(*variable, text)) {
        // Part of the variable's own text: move it to the front before the
        // block shrinks, since resizing may move or cut the block.
        std::memmove(*variable, text, sizeof(char16_t) * (static_cast<std::size_t>(length) + 1));
        text = nullptr;
    }
    void* block = heap_realloc(text_heap(), *variable, block_size(length));
    if (!block) text_out_of_memory();
    *variable = static_cast<char16_t*>(block);
    if (text) std::memcpy(*variable, text, sizeof(char16_t) * static_cast<std::size_t>(length));
    (*variable)[length] = 0;
}

void text_free(char16_t** variable) {
    if (!variable) return;
    // After text_end the block went away with the heap.
    if (Heap* heap = text_heap()) heap_free(heap, *variable);
    *variable = nullptr;
}

int text_equal(const char16_t* a, const char16_t* b) {
    if (!a) a = u"";
    if (!b) b = u"";
    while (*a && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b ? 1 : 0;
}

int text_char_count(const char16_t* text) {
    if (!text) return 0;
    const char16_t* end = text;
    while (*end) ++end;
    return static_cast<int>(end - text);
}
