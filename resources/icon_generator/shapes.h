// Shapes in drawing units, and ways to combine them.
#pragma once

#include <vector>

#include "canvas.h"

struct Point {
    float x, y;
};

Shape rect(float x0, float y0, float x1, float y1);
Shape rounded_rect(float x0, float y0, float x1, float y1, float radius);
Shape circle(float cx, float cy, float radius);
Shape ellipse(float cx, float cy, float rx, float ry);
Shape polygon(std::vector<Point> points);  // any simple polygon, either winding
// The band between two radii, from angle a0 to a1 in degrees, clockwise on
// screen (0 = right, 90 = down).
Shape arc(float cx, float cy, float inner, float outer, float a0, float a1);
// A line with round ends, width wide.
Shape stroke(Point from, Point to, float width);

Shape both(Shape a, Shape b);
Shape either(Shape a, Shape b);
Shape without(Shape a, Shape b);

// The polygon with every edge moved inwards by distance: the fill that a
// border of that width surrounds.
std::vector<Point> inset(const std::vector<Point>& points, float distance);
std::vector<Point> mirrored_vertically(const std::vector<Point>& points);    // y -> 16 - y
std::vector<Point> mirrored_horizontally(const std::vector<Point>& points);  // x -> 16 - x
