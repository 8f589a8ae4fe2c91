// How much the volume table changes what is heard when the volume goes from
// one value to another: the step in dB (negative: quieter).
#pragma once

#include "runtime/media/volume_table.h"

inline double volume_step_db(int from, int to) { return (volume_level(to) - volume_level(from)) / 100.0; }
