// The mask of a button image: the image list draws a pixel only where the
// mask is black. Where the image lists draw alpha themselves, or the image has
// no usable alpha, the mask is all black and the image is drawn opaque.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "runtime/gui/toolbar.h"
#include "runtime/gui/win32/toolbar_win32.h"

namespace {

// The 32-bit pixels of a bitmap, read in place from a DIB section or copied
// out of any other bitmap.
struct Pixels {
    const std::uint8_t* first_row = nullptr;  // the top row
    std::ptrdiff_t row_step = 0;              // bytes from one row to the one below
    std::vector<std::uint32_t> copy;          // the copied-out pixels, if any
};

bool read_pixels(HBITMAP bitmap, int width, int height, Pixels* pixels) {
    DIBSECTION section{};
    if (GetObjectW(bitmap, sizeof(section), &section) == sizeof(section) && section.dsBm.bmBits) {
        GdiFlush();  // drawing into the section may still be queued
        // Rows lie bottom-up, as the image family makes them: the top row is
        // stored last. (GetObject reports a positive height for either order,
        // so a top-down section cannot be told apart here.)
        auto* bits = static_cast<const std::uint8_t*>(section.dsBm.bmBits);
        std::ptrdiff_t pitch = section.dsBm.bmWidthBytes;
        pixels->first_row = bits + (height - 1) * pitch;
        pixels->row_step = -pitch;
        return true;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up, like a DIB section
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    pixels->copy.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    HDC dc = CreateCompatibleDC(nullptr);
    int rows = dc ? GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), pixels->copy.data(), &info,
                              DIB_RGB_COLORS)
                  : 0;
    if (dc) DeleteDC(dc);
    if (rows != height) return false;
    std::ptrdiff_t pitch = static_cast<std::ptrdiff_t>(width) * 4;
    auto* bits = reinterpret_cast<const std::uint8_t*>(pixels->copy.data());
    pixels->first_row = bits + (height - 1) * pitch;
    pixels->row_step = -pitch;
    return true;
}

// Sets the mask bit (white, transparent) of every pixel whose alpha is zero.
// True when at least one pixel is opaque.
bool mark_transparent(const Pixels& pixels, int width, int height, std::uint8_t* mask,
                      std::size_t mask_pitch) {
    bool any_opaque = false;
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<const std::uint32_t*>(pixels.first_row + y * pixels.row_step);
        std::uint8_t* mask_row = mask + static_cast<std::size_t>(y) * mask_pitch;
        for (int x = 0; x < width; ++x) {
            if (row[x] >> 24)
                any_opaque = true;
            else
                mask_row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
    }
    return any_opaque;
}

}  // namespace

HBITMAP image_mask_from_alpha(HBITMAP bitmap) {
    BITMAP info{};
    if (!GetObjectW(bitmap, sizeof(info), &info) || info.bmWidth <= 0 || info.bmHeight == 0) return nullptr;
    int width = info.bmWidth;
    int height = std::abs(info.bmHeight);
    // A monochrome bitmap's rows are whole 16-bit words; bit 0 is black.
    std::size_t mask_pitch = static_cast<std::size_t>((width + 15) / 16) * 2;
    std::vector<std::uint8_t> mask(mask_pitch * static_cast<std::size_t>(height), 0);
    if (!toolbar_alpha_imagelists() && info.bmBitsPixel == 32) {
        Pixels pixels;
        bool opaque = read_pixels(bitmap, width, height, &pixels)
                      && mark_transparent(pixels, width, height, mask.data(), mask_pitch);
        if (!opaque) std::fill(mask.begin(), mask.end(), 0);
    }
    return CreateBitmap(width, height, 1, 1, mask.data());
}
