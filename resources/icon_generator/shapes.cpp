#include "shapes.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float pi = 3.14159265358979f;

float signed_area(const std::vector<Point>& points) {
    float area = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const Point& a = points[i];
        const Point& b = points[(i + 1) % points.size()];
        area += a.x * b.y - b.x * a.y;
    }
    return area / 2;
}

}  // namespace

Shape rect(float x0, float y0, float x1, float y1) {
    return [=](float x, float y) { return x >= x0 && x < x1 && y >= y0 && y < y1; };
}

Shape rounded_rect(float x0, float y0, float x1, float y1, float radius) {
    return [=](float x, float y) {
        if (x < x0 || x >= x1 || y < y0 || y >= y1) return false;
        const float dx = std::max({x0 + radius - x, 0.0f, x - (x1 - radius)});
        const float dy = std::max({y0 + radius - y, 0.0f, y - (y1 - radius)});
        return dx * dx + dy * dy <= radius * radius;
    };
}

Shape circle(float cx, float cy, float radius) { return ellipse(cx, cy, radius, radius); }

Shape ellipse(float cx, float cy, float rx, float ry) {
    return [=](float x, float y) {
        const float dx = (x - cx) / rx;
        const float dy = (y - cy) / ry;
        return dx * dx + dy * dy <= 1.0f;
    };
}

Shape polygon(std::vector<Point> points) {
    // Even-odd rule by crossing count.
    return [points = std::move(points)](float x, float y) {
        bool inside = false;
        for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
            const Point& a = points[i];
            const Point& b = points[j];
            if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) inside = !inside;
        }
        return inside;
    };
}

Shape arc(float cx, float cy, float inner, float outer, float a0, float a1) {
    return [=](float x, float y) {
        const float dx = x - cx;
        const float dy = y - cy;
        const float distance = std::sqrt(dx * dx + dy * dy);
        if (distance < inner || distance > outer) return false;
        float angle = std::atan2(dy, dx) * 180.0f / pi;
        while (angle < a0) angle += 360.0f;
        while (angle >= a0 + 360.0f) angle -= 360.0f;
        return angle <= a1;
    };
}

Shape stroke(Point from, Point to, float width) {
    return [=](float x, float y) {
        const float vx = to.x - from.x;
        const float vy = to.y - from.y;
        const float length2 = vx * vx + vy * vy;
        const float t = length2 > 0 ? std::clamp(((x - from.x) * vx + (y - from.y) * vy) / length2, 0.0f, 1.0f) : 0;
        const float dx = x - (from.x + t * vx);
        const float dy = y - (from.y + t * vy);
        return dx * dx + dy * dy <= width * width / 4;
    };
}

Shape both(Shape a, Shape b) {
    return [=](float x, float y) { return a(x, y) && b(x, y); };
}

Shape either(Shape a, Shape b) {
    return [=](float x, float y) { return a(x, y) || b(x, y); };
}

Shape without(Shape a, Shape b) {
    return [=](float x, float y) { return a(x, y) && !b(x, y); };
}

std::vector<Point> inset(const std::vector<Point>& points, float distance) {
    // Each edge's line moved towards the inside; consecutive lines meet at
    // the new corner.
    const float side = signed_area(points) > 0 ? 1.0f : -1.0f;
    const std::size_t n = points.size();
    std::vector<Point> result;
    for (std::size_t i = 0; i < n; ++i) {
        const Point& prev = points[(i + n - 1) % n];
        const Point& here = points[i];
        const Point& next = points[(i + 1) % n];
        auto normal = [side](Point a, Point b) {
            const float dx = b.x - a.x;
            const float dy = b.y - a.y;
            const float length = std::sqrt(dx * dx + dy * dy);
            return Point{-dy / length * side, dx / length * side};
        };
        const Point n1 = normal(prev, here);
        const Point n2 = normal(here, next);
        // Corner offset: along the bisector, distance / cos(half angle).
        const Point bisector{n1.x + n2.x, n1.y + n2.y};
        const float dot = bisector.x * n1.x + bisector.y * n1.y;
        result.push_back(Point{here.x + bisector.x * distance / dot, here.y + bisector.y * distance / dot});
    }
    return result;
}

std::vector<Point> mirrored_vertically(const std::vector<Point>& points) {
    std::vector<Point> result;
    for (const Point& p : points) result.push_back(Point{p.x, 16.0f - p.y});
    return result;
}

std::vector<Point> mirrored_horizontally(const std::vector<Point>& points) {
    std::vector<Point> result;
    for (const Point& p : points) result.push_back(Point{16.0f - p.x, p.y});
    return result;
}
