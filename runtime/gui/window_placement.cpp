#include "runtime/gui/window_placement.h"

#include <algorithm>

#include "runtime/core/object_table.h"
#include "runtime/gui/window.h"

WindowPlacement window_place(int x, int y, int outer_width, int outer_height, std::uint32_t flags,
                             int screen_width, int screen_height, const ScreenRect* reference) {
    WindowPlacement place{x, y, outer_width, outer_height, false};
    if (flags & WINDOW_CENTERED) {
        // A window larger than the screen would be centred off its top-left corner.
        place.width = std::min(outer_width, screen_width);
        place.height = std::min(outer_height, screen_height);
        place.x = (screen_width - place.width) / 2;
        place.y = (screen_height - place.height) / 2;
    } else if ((flags & WINDOW_CENTERED_ON_PARENT) && reference) {
        place.x = std::max(0, reference->left + (reference->width - outer_width) / 2);
        place.y = std::max(0, reference->top + (reference->height - outer_height) / 2);
    } else if (x == IGNORE_VALUE || y == IGNORE_VALUE) {
        place.default_position = true;
    }
    return place;
}
