// DIB sections as the image family makes them, and reading a bitmap's shape.
#include <limits>

#include "runtime/image/win32/image_win32.h"

HBITMAP dib_section_create(int width, int height, int depth, void** bits) {
    *bits = nullptr;
    // The record holds 16-bit sizes; anything larger is refused, not cut.
    constexpr int largest = std::numeric_limits<std::uint16_t>::max();
    if (width <= 0 || height <= 0 || width > largest || height > largest || (depth != 24 && depth != 32))
        return nullptr;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // positive: rows stored bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(depth);
    info.bmiHeader.biCompression = BI_RGB;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
    if (bitmap && !*bits) {
        DeleteObject(bitmap);
        return nullptr;
    }
    return bitmap;
}

bool record_bitmap_shape(HBITMAP bitmap, ImageRecord& record) {
    BITMAP shape{};
    if (GetObjectW(bitmap, sizeof shape, &shape) != sizeof shape) return false;
    record.width = static_cast<std::uint16_t>(shape.bmWidth);
    record.height = static_cast<std::uint16_t>(shape.bmHeight);
    record.depth = static_cast<std::uint8_t>(shape.bmBitsPixel);
    return true;
}
