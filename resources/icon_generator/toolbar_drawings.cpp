#include "drawings.h"
#include "shapes.h"

namespace {

// Palette.
const Colour page_border = rgb(0x7a7c78);
const Colour page_top = rgb(0xffffff);
const Colour page_bottom = rgb(0xe4e6e1);
const Colour fold_fill = rgb(0xd0d2cd);
const Colour green_border = rgb(0x3a7306);
const Colour green_light = rgb(0x9be35a);
const Colour green_dark = rgb(0x4e9a06);
const Colour grey_border = rgb(0x5a5a5a);
const Colour grey_light = rgb(0xf6f6f6);
const Colour grey_dark = rgb(0xaeaeae);
const Colour symbol_grey = rgb(0x3a3a3a);

// A polygon with a border of one unit around a fill.
void bordered(Canvas& canvas, const std::vector<Point>& outline, const Colour& border, const Paint& fill) {
    canvas_fill(canvas, polygon(outline), solid(border));
    canvas_fill(canvas, polygon(inset(outline, 1.0f)), fill);
}

// A page with its top right corner folded, right edge at `right`, bottom at
// `bottom`.
void page(Canvas& canvas, float right, float bottom) {
    const float left = right - 11.0f;
    const float fold = 4.0f;
    const float corner = right - fold;
    bordered(canvas, {{left, 0}, {corner, 0}, {right, fold}, {right, bottom}, {left, bottom}}, page_border,
             vertical_gradient(page_top, 0, page_bottom, bottom));
    // The folded-over corner: a shaded triangle edged on its two inner sides.
    constexpr float diagonal_border = 1.4142f;  // the page border, measured along an edge
    canvas_fill(canvas, polygon({{corner, diagonal_border}, {right - diagonal_border, fold}, {corner, fold}}),
                solid(fold_fill));
    canvas_fill(canvas, rect(corner, 0, corner + 1, fold + 1), solid(page_border));
    canvas_fill(canvas, rect(corner, fold, right, fold + 1), solid(page_border));
}

Paint green_fill(float y0, float y1) { return vertical_gradient(green_light, y0, green_dark, y1); }

// A round grey button face for the playback pictures.
void media_button(Canvas& canvas) {
    canvas_fill(canvas, circle(8, 8, 7.6f), solid(grey_border));
    canvas_fill(canvas, circle(8, 8, 6.6f), vertical_gradient(grey_light, 1.5f, grey_dark, 14.5f));
}

// A right-pointing arrow: shaft from x0 to the head, head from hx to tip.
std::vector<Point> arrow_right(float x0, float hx, float tip, float cy, float shaft, float head) {
    return {{x0, cy - shaft / 2}, {hx, cy - shaft / 2}, {hx, cy - head / 2}, {tip, cy},
            {hx, cy + head / 2}, {hx, cy + shaft / 2}, {x0, cy + shaft / 2}};
}

std::vector<Point> arrow_up() {
    return {{8, 0.6f}, {15.2f, 7.8f}, {11, 7.8f}, {11, 15.2f}, {5, 15.2f}, {5, 7.8f}, {0.8f, 7.8f}};
}

void draw_new_playlist(Canvas& canvas) { page(canvas, 14, 16); }

void draw_open_playlist(Canvas& canvas) {
    const Colour border = rgb(0x8a6a00);
    // The folder's back with its tab.
    bordered(canvas, {{0, 2}, {6, 2}, {8, 4}, {15, 4}, {15, 14}, {0, 14}}, border,
             vertical_gradient(rgb(0xe9c63a), 2, rgb(0xc49a00), 14));
    // A sheet of paper inside.
    canvas_fill(canvas, rect(2, 5, 13, 10), solid(rgb(0x9a9c97)));
    canvas_fill(canvas, rect(3, 6, 12, 10), solid(rgb(0xffffff)));
    // The front flap, opened towards the viewer.
    bordered(canvas, {{3.5f, 7}, {16, 7}, {13.5f, 14}, {0, 14}}, border,
             vertical_gradient(rgb(0xfff08a), 7, rgb(0xf0cf2a), 14));
}

void draw_save_playlist(Canvas& canvas) {
    page(canvas, 12, 13);
    // The floppy disk over the page's lower right corner.
    const Colour body = rgb(0x3465a4);
    canvas_fill(canvas, rounded_rect(6, 6, 16, 16, 1.2f), solid(rgb(0x1e3f6e)));
    canvas_fill(canvas, rounded_rect(7, 7, 15, 15, 0.6f), vertical_gradient(rgb(0x6d96cc), 7, body, 15));
    canvas_fill(canvas, rect(8.5f, 7, 13.5f, 10.5f), solid(rgb(0xd8dbd5)));   // shutter
    canvas_fill(canvas, rect(11.5f, 7.8f, 12.7f, 9.7f), solid(rgb(0x555753)));  // its window
    canvas_fill(canvas, rect(8.5f, 12, 13.5f, 15), solid(rgb(0xffffff)));    // label
}

void draw_save_as(Canvas& canvas) {
    page(canvas, 12, 15);
    const std::vector<Point> arrow = arrow_right(5, 10, 15.6f, 11, 4, 9);
    bordered(canvas, arrow, green_border, green_fill(6.5f, 15.5f));
}

void draw_delete_track(Canvas& canvas) {
    page(canvas, 12, 15);
    canvas_fill(canvas, circle(11.2f, 11.2f, 4.8f), solid(rgb(0xa40000)));
    canvas_fill(canvas, circle(11.2f, 11.2f, 3.8f), vertical_gradient(rgb(0xf26060), 7.4f, rgb(0xcc0000), 15));
    canvas_fill(canvas, rect(8.4f, 10.4f, 14, 12), solid(rgb(0xffffff)));
}

void draw_move_up(Canvas& canvas) { bordered(canvas, arrow_up(), green_border, green_fill(1, 15)); }

void draw_move_down(Canvas& canvas) {
    bordered(canvas, mirrored_vertically(arrow_up()), green_border, green_fill(1, 15));
}

void draw_help(Canvas& canvas) {
    canvas_fill(canvas, circle(8, 8, 7.6f), solid(rgb(0x204a87)));
    canvas_fill(canvas, circle(8, 8, 6.6f), vertical_gradient(rgb(0x8cb4e8), 1.5f, rgb(0x3465a4), 14.5f));
    const Paint white = solid(rgb(0xffffff));
    canvas_fill(canvas, arc(8, 6.2f, 1.2f, 3.1f, 170, 395), white);
    canvas_fill(canvas, stroke({8.9f, 7.6f}, {8, 8.6f}, 1.9f), white);
    canvas_fill(canvas, rect(7.05f, 8.6f, 8.95f, 10.2f), white);
    canvas_fill(canvas, circle(8, 12.3f, 1.15f), white);
}

void draw_shuffle(Canvas& canvas) {
    // Two paths that cross, each ending in an arrow head on the right.
    const Paint green = solid(green_dark);
    const Paint dark = solid(green_border);
    auto path = [&](float y_start, float y_end, const Paint& paint) {
        canvas_fill(canvas, stroke({0.5f, y_start}, {3.5f, y_start}, 2.2f), paint);
        canvas_fill(canvas, stroke({3.5f, y_start}, {9.5f, y_end}, 2.2f), paint);
        canvas_fill(canvas, stroke({9.5f, y_end}, {11.5f, y_end}, 2.2f), paint);
        canvas_fill(canvas, polygon({{11, y_end - 3.6f}, {15.8f, y_end}, {11, y_end + 3.6f}}), paint);
    };
    path(12, 4, dark);
    path(4, 12, green);
}

void draw_stop(Canvas& canvas) {
    media_button(canvas);
    canvas_fill(canvas, rect(5, 5, 11, 11), solid(symbol_grey));
}

void draw_play(Canvas& canvas) {
    media_button(canvas);
    canvas_fill(canvas, polygon({{5.8f, 4.2f}, {12.2f, 8}, {5.8f, 11.8f}}), solid(symbol_grey));
}

void draw_pause(Canvas& canvas) {
    media_button(canvas);
    canvas_fill(canvas, rect(5, 4.5f, 7.2f, 11.5f), solid(symbol_grey));
    canvas_fill(canvas, rect(8.8f, 4.5f, 11, 11.5f), solid(symbol_grey));
}

std::vector<Point> double_triangle_right(float x, float y, float w, float h) {
    return {{x, y - h / 2}, {x + w, y}, {x + w, y - h / 2}, {x + 2 * w, y}, {x + w, y + h / 2}, {x + w, y}, {x, y + h / 2}};
}

void draw_next(Canvas& canvas) {
    media_button(canvas);
    canvas_fill(canvas, polygon(double_triangle_right(3.2f, 8, 4.8f, 8)), solid(symbol_grey));
}

void draw_previous(Canvas& canvas) {
    media_button(canvas);
    canvas_fill(canvas, polygon(mirrored_horizontally(double_triangle_right(3.2f, 8, 4.8f, 8))),
                solid(symbol_grey));
}

void draw_volume(Canvas& canvas) {
    bordered(canvas, {{0, 5}, {3.5f, 5}, {8, 1}, {8, 15}, {3.5f, 11}, {0, 11}}, grey_border,
             vertical_gradient(grey_light, 1, rgb(0x9a9a9a), 15));
    canvas_fill(canvas, rect(3, 6, 4, 10), solid(rgb(0x8a8a8a)));  // where box and cone meet
    const Paint red = solid(rgb(0xd01818));
    canvas_fill(canvas, arc(7.6f, 8, 2.4f, 4.0f, -50, 50), red);
    canvas_fill(canvas, arc(7.6f, 8, 5.4f, 7.0f, -52, 52), red);
}

}  // namespace

const ToolbarPicture toolbar_pictures[toolbar_picture_count] = {
    {"00_new_playlist.png", draw_new_playlist, false},
    {"01_open_playlist.png", draw_open_playlist, false},
    {"02_save_playlist.png", draw_save_playlist, false},
    {"03_save_as.png", draw_save_as, false},
    {"04_delete_track.png", draw_delete_track, false},
    {"05_move_up.png", draw_move_up, false},
    {"06_move_down.png", draw_move_down, false},
    {"07_help.png", draw_help, false},
    {"08_shuffle.png", draw_shuffle, false},
    {"09_stop.png", draw_stop, true},
    {"10_play.png", draw_play, false},
    {"11_pause.png", draw_pause, false},
    {"12_next.png", draw_next, false},
    {"13_previous.png", draw_previous, false},
    {"14_volume.png", draw_volume, false},
};
