// Where a new window goes: the position rules of window_open, apart from the
// platform. Sizes are outer sizes (frame included).
#pragma once

#include <algorithm>
#include <cstdint>

// The longest side a window may ask for: both platforms keep window sizes in
// 16 signed bits, and GTK refuses anything longer.
inline constexpr int WINDOW_LONGEST_SIDE = 32767;
inline int window_side(int inner) { return std::min(inner, WINDOW_LONGEST_SIDE); }

struct ScreenRect {
    int left;
    int top;
    int width;
    int height;
};

struct WindowPlacement {
    int x;
    int y;
    int width;
    int height;
    bool default_position;  // the platform chooses x and y
};

// flags: the window_open flags (WINDOW_CENTERED, WINDOW_CENTERED_ON_PARENT).
// reference: the window to centre on for WINDOW_CENTERED_ON_PARENT, nullptr
// when there is none (then the window is placed as if not centred).
WindowPlacement window_place(int x, int y, int outer_width, int outer_height, std::uint32_t flags,
                             int screen_width, int screen_height, const ScreenRect* reference);
