#include "runtime/core/runtime_steps.h"

#include "runtime/core/heap.h"
#include "runtime/file/file.h"
#include "runtime/list/list.h"
#include "runtime/text/text.h"

namespace {
Heap* general_heap = nullptr;
}

Heap* runtime_heap() { return general_heap; }

bool runtime_start() {
    if (!text_init()) return false;
    general_heap = heap_create(4096);
    if (!general_heap || !file_init() || !list_init()) {
        runtime_end();
        return false;
    }
    return true;
}

void runtime_end() {
    file_close_all();
    heap_destroy(general_heap);
    general_heap = nullptr;
    text_end();
}
