#include "runtime/gui/window_scale.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "runtime/core/object_table.h"

namespace {

int rescale(int value, int to, int from) {
    if (value == IGNORE_VALUE || to == from) return value;
    const std::int64_t product = static_cast<std::int64_t>(value) * to;
    const std::int64_t half = from / 2;
    const std::int64_t result = product >= 0 ? (product + half) / from : (product - half) / from;
    return static_cast<int>(std::clamp<std::int64_t>(result, INT_MIN, INT_MAX));
}

int known(int dpi) { return dpi > 0 ? dpi : UNIT_DPI; }

}  // namespace

int scale_to_pixels(int units, int dpi) { return rescale(units, known(dpi), UNIT_DPI); }

int scale_to_units(int pixels, int dpi) { return rescale(pixels, UNIT_DPI, known(dpi)); }

int toolbar_picture_side(int dpi) { return known(dpi) * 2 >= UNIT_DPI * 3 ? 32 : 16; }
