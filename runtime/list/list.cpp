// Creating, releasing and copying lists, and reading their state.
#include <cstdint>
#include <cstring>
#include <new>

#include "runtime/list/list.h"
#include "runtime/list/list_record.h"
#include "runtime/text/text.h"

namespace {
// Text fields must lie inside the element and be aligned like a pointer, or
// reading them as texts would touch foreign bytes.
bool layout_fits(const ElementLayout* layout, std::size_t element_size) {
    if (!layout) return true;
    if (layout->text_count < 0 || (layout->text_count > 0 && !layout->text_offsets)) return false;
    for (int t = 0; t < layout->text_count; ++t) {
        std::size_t offset = layout->text_offsets[t];
        if (offset % alignof(char16_t*) != 0) return false;
        if (offset > element_size || element_size - offset < sizeof(char16_t*)) return false;
    }
    return true;
}

bool same_layout(const ElementLayout* a, const ElementLayout* b) {
    int a_count = a ? a->text_count : 0;
    int b_count = b ? b->text_count : 0;
    if (a_count != b_count) return false;
    for (int t = 0; t < a_count; ++t)
        if (a->text_offsets[t] != b->text_offsets[t]) return false;
    return true;
}

char16_t** text_field(void* element, std::size_t offset) {
    return reinterpret_cast<char16_t**>(static_cast<unsigned char*>(element) + offset);
}
}  // namespace

bool list_init() { return true; }

OrderedList* list_new(std::size_t element_size, ListOwnerPair* owner, const ElementLayout* layout) {
    if (element_size > INT32_MAX - element_offset || !layout_fits(layout, element_size)) return nullptr;
    auto* list = new (std::nothrow) OrderedList{};
    if (!list) return nullptr;
    list->node_size = static_cast<std::uint32_t>(element_size + element_offset);
    if (!node_pool_init(&list->pool, list->node_size)) {
        delete list;
        return nullptr;
    }
    if (!owner) {
        owner = new (std::nothrow) ListOwnerPair{};
        if (!owner) {
            delete list;
            return nullptr;
        }
        list->owns_pair = 1;
    }
    list->owner = owner;
    list->current_slot = &owner->current;
    list->layout = layout;
    list->has_texts = layout && layout->text_count > 0;
    list->index_stale = 1;
    owner->list = list;
    owner->current = nullptr;
    return list;
}

void list_free(OrderedList* list) {
    if (!list) return;
    list_clear(list);
    node_pool_release(&list->pool);
    list->owner->list = nullptr;
    list->owner->current = nullptr;
    if (list->owns_pair) delete list->owner;
    delete list;
}

void list_discard_node(OrderedList* list, ListNode* node) {
    if (list->has_texts) {
        void* element = element_of(node);
        for (int t = 0; t < list->layout->text_count; ++t)
            text_free(text_field(element, list->layout->text_offsets[t]));
    }
    node_pool_give(&list->pool, node);
}

int list_copy(OrderedList* source, OrderedList* destination, int clear_first) {
    if (!source || !destination) return 0;
    // Copying bytes between different element shapes would overrun elements
    // or leave texts owned twice.
    if (source->node_size != destination->node_size || !same_layout(source->layout, destination->layout))
        return 0;
    // Clearing a list into itself would lose every element; the copy of a
    // list onto itself after clearing is the list as it was.
    if (source == destination && clear_first) return 1;
    if (clear_first) list_clear(destination);
    // Counted, not walked to the end, so a list copied onto itself stops
    // after its original elements.
    std::int32_t n = source->count;
    ListNode* from = source->first;
    std::size_t size = element_size_of(source);
    for (std::int32_t k = 0; k < n; ++k, from = from->next) {
        void* copy = list_append(destination);
        if (!copy) return 0;
        void* original = element_of(from);
        std::memcpy(copy, original, size);
        if (!destination->has_texts) continue;
        for (int t = 0; t < destination->layout->text_count; ++t) {
            std::size_t offset = destination->layout->text_offsets[t];
            char16_t** field = text_field(copy, offset);
            *field = nullptr;
            char16_t* text = *text_field(original, offset);
            if (text) text_assign(field, text);
        }
    }
    return 1;
}

int list_count(const OrderedList* list) { return list ? list->count : 0; }

int list_current_index(const OrderedList* list) {
    if (!list || !list->current || list->index_stale) return -1;
    return list->current_index;
}

void* list_current(const OrderedList* list) { return list ? element_of(list->current) : nullptr; }
