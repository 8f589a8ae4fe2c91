#include "runtime/list/node_pool.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

struct PoolBlock {
    PoolBlock* next;
};

namespace {
constexpr std::size_t alignment = alignof(std::max_align_t);
constexpr std::size_t header_size = (sizeof(PoolBlock) + alignment - 1) / alignment * alignment;
constexpr std::size_t first_block_count = 16;
// Blocks stop doubling at this size, so a long list wastes at most one
// partly used block of this size.
constexpr std::size_t max_block_bytes = 64 * 1024;
constexpr std::size_t max_node_size = SIZE_MAX / 2 - header_size;

bool grow(NodePool* pool) {
    std::size_t count = pool->next_block_count;
    std::size_t fit = max_block_bytes / pool->stride;
    if (count > fit) count = fit > 0 ? fit : 1;
    auto* block = static_cast<PoolBlock*>(std::malloc(header_size + count * pool->stride));
    if (!block) return false;
    block->next = pool->blocks;
    pool->blocks = block;
    pool->unused = reinterpret_cast<unsigned char*>(block) + header_size;
    pool->unused_count = count;
    if (count == pool->next_block_count) pool->next_block_count = count * 2;
    return true;
}
}  // namespace

bool node_pool_init(NodePool* pool, std::size_t node_size) {
    *pool = NodePool{};
    if (node_size > max_node_size) return false;
    if (node_size < sizeof(void*)) node_size = sizeof(void*);
    pool->stride = (node_size + alignment - 1) / alignment * alignment;
    pool->next_block_count = first_block_count;
    return true;
}

void* node_pool_take(NodePool* pool) {
    void* node = pool->free_nodes;
    if (node) {
        std::memcpy(&pool->free_nodes, node, sizeof(void*));
    } else {
        if (pool->unused_count == 0 && !grow(pool)) return nullptr;
        node = pool->unused;
        pool->unused += pool->stride;
        pool->unused_count -= 1;
    }
    std::memset(node, 0, pool->stride);
    return node;
}

void node_pool_give(NodePool* pool, void* node) {
    std::memcpy(node, &pool->free_nodes, sizeof(void*));
    pool->free_nodes = node;
}

void node_pool_release(NodePool* pool) {
    for (PoolBlock* block = pool->blocks; block;) {
        PoolBlock* next = block->next;
        std::free(block);
        block = next;
    }
    std::size_t stride = pool->stride;
    *pool = NodePool{};
    pool->stride = stride;
    pool->next_block_count = first_block_count;
}
