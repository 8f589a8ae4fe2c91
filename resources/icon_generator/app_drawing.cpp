// The application icon: a playlist (rows on a slate tile) with a music note.
#include "drawings.h"
#include "shapes.h"

void draw_app_icon(Canvas& canvas) {
    canvas_fill(canvas, rounded_rect(0.5f, 0.5f, 15.5f, 15.5f, 3), solid(rgb(0x3b4654)));
    canvas_fill(canvas, rounded_rect(1.3f, 1.3f, 14.7f, 14.7f, 2.3f),
                vertical_gradient(rgb(0x93a3b5), 1.3f, rgb(0x5b6b7d), 14.7f));
    const Paint row = solid(rgb(0xf0faff));
    for (float y : {3.0f, 6.0f, 9.0f, 12.0f}) canvas_fill(canvas, rect(3, y, 8, y + 1.2f), row);
    const Paint note = solid(rgb(0xffb000));
    canvas_fill(canvas, ellipse(10, 12, 2.1f, 1.6f), note);
    canvas_fill(canvas, rect(11, 3, 12.2f, 12), note);
    canvas_fill(canvas, polygon({{11, 3}, {14, 5}, {14, 7.4f}, {11, 5.4f}}), note);
}
