#include "runtime/gui/win32/brush_cache.h"

#include <mutex>
#include <vector>

namespace {

struct CachedBrush {
    COLORREF colour;
    HBRUSH brush;
    int references;
};

std::mutex cache_lock;
std::vector<CachedBrush> cache;

}  // namespace

HBRUSH brush_cache_take(COLORREF colour) {
    std::lock_guard guard(cache_lock);
    for (CachedBrush& entry : cache) {
        if (entry.colour == colour) {
            ++entry.references;
            return entry.brush;
        }
    }
    HBRUSH brush = CreateSolidBrush(colour);
    if (brush) cache.push_back({colour, brush, 1});
    return brush;
}

void brush_cache_return(HBRUSH brush) {
    if (!brush) return;
    std::lock_guard guard(cache_lock);
    for (auto it = cache.begin(); it != cache.end(); ++it) {
        if (it->brush != brush) continue;
        if (--it->references == 0) {
            DeleteObject(it->brush);
            cache.erase(it);
        }
        return;
    }
}

int brush_cache_size() {
    std::lock_guard guard(cache_lock);
    return static_cast<int>(cache.size());
}

int brush_cache_count(COLORREF colour) {
    std::lock_guard guard(cache_lock);
    for (const CachedBrush& entry : cache)
        if (entry.colour == colour) return entry.references;
    return 0;
}
