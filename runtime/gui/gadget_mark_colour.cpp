// The colours of marked list rows, the same for every back end: a hue per
// mark, made lighter on a dark background and darker on a light one until
// the text stands out from it as plainly as the system's own text does.
#include <cmath>

#include "runtime/gui/gadget.h"
#include "runtime/gui/gadget_kind.h"

namespace {

struct Rgb {
    double red;
    double green;
    double blue;
};

Rgb rgb_of(int colour) {
    return {static_cast<double>(colour & 0xFF), static_cast<double>((colour >> 8) & 0xFF),
            static_cast<double>((colour >> 16) & 0xFF)};
}

int colour_of(Rgb rgb) {
    auto byte = [](double value) { return static_cast<int>(std::lround(value)) & 0xFF; };
    return byte(rgb.red) | byte(rgb.green) << 8 | byte(rgb.blue) << 16;
}

// Relative luminance, as the accessibility guidelines measure contrast.
double luminance(Rgb rgb) {
    auto linear = [](double value) {
        value /= 255.0;
        return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(rgb.red) + 0.7152 * linear(rgb.green) + 0.0722 * linear(rgb.blue);
}

double contrast(Rgb a, Rgb b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::fmax(la, lb) + 0.05) / (std::fmin(la, lb) + 0.05);
}

constexpr double READABLE = 4.5;  // the guidelines' least contrast for body text

}  // namespace

int gadget_mark_colour(int mark, int background) {
    Rgb hue;
    if (mark == GADGET_MARK_NOTICE) hue = {230, 140, 0};      // amber
    else if (mark == GADGET_MARK_PROBLEM) hue = {220, 40, 40};  // red
    else return -1;
    const Rgb behind = rgb_of(background);
    // Towards white on a dark background, towards black on a light one.
    const double towards = luminance(behind) < 0.18 ? 255.0 : 0.0;
    Rgb shown = hue;
    for (int step = 1; step <= 16 && contrast(shown, behind) < READABLE; ++step) {
        const double part = step / 16.0;
        shown = {hue.red + (towards - hue.red) * part, hue.green + (towards - hue.green) * part,
                 hue.blue + (towards - hue.blue) * part};
    }
    return colour_of(shown);
}
