#include "runtime/list/random.h"

#include <chrono>
#include <functional>
#include <thread>

#include "runtime/list/list.h"

namespace {
constexpr std::uint32_t seed_multiplier = 1403630843;  // 0x53A9B4FB
constexpr int warm_up_rounds = 31;

std::uint32_t rotate_left(std::uint32_t x, int bits) { return (x << bits) | (x >> (32 - bits)); }

// Each thread gets its own sequence, so threads never disturb each other.
thread_local RandomState thread_state;
thread_local bool thread_seeded = false;

// Thread identity mixed with the millisecond clock: every run and every thread
// shuffles differently.
std::uint32_t fresh_seed() {
    auto id = static_cast<std::uint32_t>(std::hash<std::thread::id>{}(std::this_thread::get_id()));
    auto ticks = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
    return id ^ static_cast<std::uint32_t>(ticks.count());
}

RandomState* state_of_this_thread() {
    if (!thread_seeded) {
        random_seed(&thread_state, fresh_seed());
        thread_seeded = true;
    }
    return &thread_state;
}
}  // namespace

void random_seed(RandomState* state, std::uint32_t seed) {
    std::uint32_t s = seed;
    for (int t = 0; t < 17; ++t) {
        s = 1 - s * seed_multiplier;
        state->b[t] = s;
        s = 1 - s * seed_multiplier;
        state->a[t] = s;
    }
    state->i = 0;
    state->j = 10;
    for (int k = 0; k < warm_up_rounds; ++k) random_next(state);
}

std::uint32_t random_next(RandomState* state) {
    int i = state->i;
    int j = state->j;
    std::uint32_t y = rotate_left(state->b[i], 19) + state->b[j];
    std::uint32_t z = rotate_left(state->a[i], 27) + state->a[j];
    state->a[i] = y;
    state->b[i] = z;
    state->i = i == 0 ? 16 : i - 1;
    state->j = j == 0 ? 16 : j - 1;
    return y;
}

std::int32_t random_int(std::int32_t maximum) {
    // Below -1 the range 0..maximum is empty; 0 is the only answer that keeps
    // callers' indices in bounds.
    if (maximum < -1) return 0;
    std::uint32_t r = random_next(state_of_this_thread());
    if (maximum == -1) return static_cast<std::int32_t>(r);
    std::uint64_t scaled = static_cast<std::uint64_t>(r) * (static_cast<std::uint64_t>(maximum) + 1);
    return static_cast<std::int32_t>(scaled >> 32);
}

void random_seed_for_testing(std::uint32_t seed) {
    random_seed(&thread_state, seed);
    thread_seeded = true;
}
