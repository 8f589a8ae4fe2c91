// The mapping of the runtime's volume (0..100) and balance (-100..100) to the
// platform's audio levels in hundredths of a decibel.
#pragma once

inline constexpr int VOLUME_TABLE_SIZE = 101;

// VolumeTable: entry 0 = 0, entry i = trunc(log10(1000 i) * 20 * 100) for
// 1..99, entry 100 = 10000; built once, on first use.
struct VolumeTable {
    int entry[VOLUME_TABLE_SIZE];
};
const VolumeTable& volume_table();

// Platform volume for a volume clamped to 0..100: -10000 (silence) .. 0 (full).
int volume_level(int volume);
// Platform balance: balance * 100 clamped to -10000 (left) .. 10000 (right).
int balance_level(int balance);
