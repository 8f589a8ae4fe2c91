#include "runtime/image/image.h"

std::size_t image_row_pitch(int width, int depth) {
    if (width <= 0) return 0;
    const auto w = static_cast<std::size_t>(width);
    switch (depth) {
    case 1: return (w + 31) / 32 * 4;
    case 4: return (w + 7) / 8 * 4;
    case 8: return (w + 3) / 4 * 4;
    case 15:
    case 16: return (w + 1) / 2 * 4;
    case 24: return (3 * w + 3) / 4 * 4;
    default: return 4 * w;
    }
}
