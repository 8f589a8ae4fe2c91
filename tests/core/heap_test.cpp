#include "runtime/core/heap.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(Heap, BlocksAreZeroedAndKeepTheirBytesWhenTheyGrow) {
    Heap* heap = heap_create(4096);
    ASSERT_NE(heap, nullptr);
    auto* block = static_cast<unsigned char*>(heap_alloc(heap, 100));
    ASSERT_NE(block, nullptr);
    for (int i = 0; i < 100; ++i) EXPECT_EQ(block[i], 0);
    std::memset(block, 0xAB, 100);
    block = static_cast<unsigned char*>(heap_realloc(heap, block, 100000));
    ASSERT_NE(block, nullptr);
    for (int i = 0; i < 100; ++i) ASSERT_EQ(block[i], 0xAB);
    heap_free(heap, block);
    heap_free(heap, nullptr);
    heap_destroy(heap);
}

TEST(Heap, DestroyFreesWhatIsStillAllocated) {
    // Under AddressSanitizer a block left behind here would be reported as a leak.
    Heap* heap = heap_create(4096);
    for (int i = 0; i < 100; ++i) ASSERT_NE(heap_alloc(heap, 64 + i), nullptr);
    void* grown = heap_realloc(heap, nullptr, 32);
    ASSERT_NE(grown, nullptr);
    heap_destroy(heap);
    heap_destroy(nullptr);
    EXPECT_EQ(heap_alloc(nullptr, 8), nullptr);
}
