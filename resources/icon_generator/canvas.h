// A square canvas that shapes are painted onto with anti-aliasing: each
// pixel's coverage comes from a grid of samples inside it. Drawings use a
// 16 x 16 unit space whatever the canvas size, so one drawing serves every
// size; (0, 0) is the top left corner of the top left pixel.
#pragma once

#include <functional>
#include <vector>

struct Colour {
    float r, g, b, a;  // 0 to 1, straight alpha
};

Colour rgb(unsigned hex, float alpha = 1.0f);  // 0xRRGGBB

// Where a shape is: true for points inside, in drawing units.
using Shape = std::function<bool(float x, float y)>;
// What a shape is painted with, per point.
using Paint = std::function<Colour(float x, float y)>;

Paint solid(Colour colour);
// From top at y0 to bottom at y1, clamped outside.
Paint vertical_gradient(Colour top, float y0, Colour bottom, float y1);

struct Canvas {
    int size;                       // pixels per side
    std::vector<Colour> premultiplied;  // row by row, top first
};

Canvas canvas_make(int size);
// Paints the shape over what is already there.
void canvas_fill(Canvas& canvas, const Shape& shape, const Paint& paint);
// Straight-alpha RGBA bytes, top row first.
std::vector<unsigned char> canvas_rgba(const Canvas& canvas);
