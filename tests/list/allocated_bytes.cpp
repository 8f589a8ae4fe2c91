#include "tests/list/allocated_bytes.h"

#if defined(_WIN32)
#include <windows.h>

#include <vector>

// Every heap of the process (the text heap is one made by HeapCreate), walked
// entry by entry.
std::int64_t allocated_bytes() {
    std::vector<HANDLE> heaps(64);
    DWORD count = GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data());
    if (count > heaps.size()) {
        heaps.resize(count);
        count = GetProcessHeaps(count, heaps.data());
    }
    std::int64_t total = 0;
    for (DWORD h = 0; h < count && h < heaps.size(); ++h) {
        if (!HeapLock(heaps[h])) continue;
        PROCESS_HEAP_ENTRY entry{};
        while (HeapWalk(heaps[h], &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) total += entry.cbData;
        HeapUnlock(heaps[h]);
    }
    return total;
}

#elif defined(__SANITIZE_ADDRESS__)
#include <cstddef>

// The sanitizer's own count (its interface header ships with clang only).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();

std::int64_t allocated_bytes() { return static_cast<std::int64_t>(__sanitizer_get_current_allocated_bytes()); }

#else
#include <malloc.h>

std::int64_t allocated_bytes() {
    struct mallinfo2 info = mallinfo2();
    return static_cast<std::int64_t>(info.uordblks + info.hblkhd);
}
#endif
