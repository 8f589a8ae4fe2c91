// Fixed-size nodes carved from blocks that grow in size; freed nodes are kept
// on a free list and handed out again, so a list does one allocation per block
// rather than one per element.
#pragma once

#include <cstddef>

struct PoolBlock;

struct NodePool {
    std::size_t stride;       // bytes per node, a multiple of the strictest alignment
    PoolBlock* blocks;        // newest first
    void* free_nodes;         // singly linked through each node's first word
    unsigned char* unused;    // untouched tail of the newest block
    std::size_t unused_count;
    std::size_t next_block_count;
};

// A pool of nodes of node_size bytes (at least one pointer); false if the size
// is too large to pool.
bool node_pool_init(NodePool* pool, std::size_t node_size);
// A zero-filled node, or nullptr when memory is exhausted.
void* node_pool_take(NodePool* pool);
void node_pool_give(NodePool* pool, void* node);
// Frees every block; nodes still handed out become invalid.
void node_pool_release(NodePool* pool);
