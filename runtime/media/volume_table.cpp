#include "runtime/media/volume_table.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {
VolumeTable build() {
    VolumeTable table{};
    table.entry[0] = 0;
    for (int i = 1; i < VOLUME_TABLE_SIZE - 1; ++i) {
        // The order log10, times 20, times 100 decides the truncated values.
        double level = std::log10(1000.0 * i);
        level *= 20.0;
        level *= 100.0;
        table.entry[i] = static_cast<int>(level);
    }
    table.entry[VOLUME_TABLE_SIZE - 1] = 10000;
    return table;
}
}  // namespace

const VolumeTable& volume_table() {
    static const VolumeTable table = build();
    return table;
}

int volume_level(int volume) {
    return volume_table().entry[std::clamp(volume, 0, VOLUME_TABLE_SIZE - 1)] - 10000;
}

int balance_level(int balance) {
    // In 64 bits: balance * 100 must not overflow for any int.
    return static_cast<int>(std::clamp<std::int64_t>(std::int64_t{balance} * 100, -10000, 10000));
}
