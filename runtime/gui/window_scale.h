// Lengths at a screen's density. The runtime's contract speaks in units of
// 96 DPI, as GTK's logical pixels under its scale factor are; a back end
// whose platform speaks pixels of the screen (Win32 under per-monitor DPI
// awareness) converts every length and position on the way there and back.
#pragma once

inline constexpr int UNIT_DPI = 96;

// A length in units as pixels at dpi, to the nearest pixel (halves away from
// zero), and back. IGNORE_VALUE passes unchanged, a dpi of 0 or less counts as
// 96, and results beyond the int range stop at its ends.
int scale_to_pixels(int units, int dpi);
int scale_to_units(int pixels, int dpi);

// The side of the toolbar pictures drawn at dpi: the 32-pixel set from 1.5
// times the unit density on (144 DPI), where 16 pixels enlarged would blur.
int toolbar_picture_side(int dpi);
