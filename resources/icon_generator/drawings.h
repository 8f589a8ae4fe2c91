// The pictures: the fifteen toolbar icons in image-number order and the
// application icon, each drawn in the 16 x 16 unit space.
#pragma once

#include "canvas.h"

struct ToolbarPicture {
    const char* file_name;
    void (*draw)(Canvas& canvas);
    bool grey_alpha;  // stored as grey with alpha
};

inline constexpr int toolbar_picture_count = 15;
extern const ToolbarPicture toolbar_pictures[toolbar_picture_count];

void draw_app_icon(Canvas& canvas);
