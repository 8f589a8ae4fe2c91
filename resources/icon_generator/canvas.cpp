#include "canvas.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int samples_per_side = 16;

unsigned char to_byte(float value) {
    return static_cast<unsigned char>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
}

}  // namespace

Colour rgb(unsigned hex, float alpha) {
    return Colour{static_cast<float>((hex >> 16) & 0xFF) / 255.0f, static_cast<float>((hex >> 8) & 0xFF) / 255.0f,
                  static_cast<float>(hex & 0xFF) / 255.0f, alpha};
}

Paint solid(Colour colour) {
    return [colour](float, float) { return colour; };
}

Paint vertical_gradient(Colour top, float y0, Colour bottom, float y1) {
    return [=](float, float y) {
        const float t = std::clamp((y - y0) / (y1 - y0), 0.0f, 1.0f);
        return Colour{top.r + (bottom.r - top.r) * t, top.g + (bottom.g - top.g) * t,
                      top.b + (bottom.b - top.b) * t, top.a + (bottom.a - top.a) * t};
    };
}

Canvas canvas_make(int size) {
    return Canvas{size, std::vector<Colour>(static_cast<std::size_t>(size * size), Colour{0, 0, 0, 0})};
}

void canvas_fill(Canvas& canvas, const Shape& shape, const Paint& paint) {
    const float unit = 16.0f / static_cast<float>(canvas.size);  // drawing units per pixel
    const float step = unit / samples_per_side;
    for (int py = 0; py < canvas.size; ++py) {
        for (int px = 0; px < canvas.size; ++px) {
            Colour sum{0, 0, 0, 0};
            for (int sy = 0; sy < samples_per_side; ++sy) {
                for (int sx = 0; sx < samples_per_side; ++sx) {
                    const float x = static_cast<float>(px) * unit + (static_cast<float>(sx) + 0.5f) * step;
                    const float y = static_cast<float>(py) * unit + (static_cast<float>(sy) + 0.5f) * step;
                    if (!shape(x, y)) continue;
                    const Colour c = paint(x, y);
                    sum.r += c.r * c.a;
                    sum.g += c.g * c.a;
                    sum.b += c.b * c.a;
                    sum.a += c.a;
                }
            }
            constexpr float count = samples_per_side * samples_per_side;
            Colour& dst = canvas.premultiplied[static_cast<std::size_t>(py * canvas.size + px)];
            const float keep = 1.0f - sum.a / count;
            dst = Colour{sum.r / count + dst.r * keep, sum.g / count + dst.g * keep, sum.b / count + dst.b * keep,
                         sum.a / count + dst.a * keep};
        }
    }
}

std::vector<unsigned char> canvas_rgba(const Canvas& canvas) {
    std::vector<unsigned char> bytes;
    bytes.reserve(canvas.premultiplied.size() * 4);
    for (const Colour& c : canvas.premultiplied) {
        const unsigned char alpha = to_byte(c.a);
        // Colour of fully transparent pixels is irrelevant; keep it black.
        const float divisor = alpha ? c.a : 1.0f;
        bytes.push_back(alpha ? to_byte(c.r / divisor) : 0);
        bytes.push_back(alpha ? to_byte(c.g / divisor) : 0);
        bytes.push_back(alpha ? to_byte(c.b / divisor) : 0);
        bytes.push_back(alpha);
    }
    return bytes;
}
