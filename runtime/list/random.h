// The generator behind random_int: lagged rotations over two tables of 17
// words (lags 17 and 10). Exposed so tests can check its exact sequence.
#pragma once

#include <cstdint>

struct RandomState {
    int i;  // lag indices, both 0..16
    int j;
    std::uint32_t a[17];
    std::uint32_t b[17];
};

void random_seed(RandomState* state, std::uint32_t seed);
std::uint32_t random_next(RandomState* state);
