// The images' native side under Windows: DIB sections and icons, which exist
// while GDI knows their handle.
#include "tests/image/native_image_probe.h"

#include <windows.h>

#include <vector>

namespace {

std::vector<HGDIOBJ> watched;

}  // namespace

// Top row first, whatever the section's row order.
Pixels native_pixels(std::intptr_t handle) {
    DIBSECTION dib{};
    if (GetObjectW(reinterpret_cast<HGDIOBJ>(handle), sizeof dib, &dib) != sizeof dib || !dib.dsBm.bmBits) return {};
    GdiFlush();
    return pixels_from_rows(static_cast<const unsigned char*>(dib.dsBm.bmBits),
                            static_cast<std::size_t>(dib.dsBm.bmWidthBytes), dib.dsBm.bmWidth, dib.dsBm.bmHeight,
                            dib.dsBm.bmBitsPixel, dib.dsBmih.biHeight > 0);
}

int native_depth(std::intptr_t handle) {
    DIBSECTION dib{};
    return GetObjectW(reinterpret_cast<HGDIOBJ>(handle), sizeof dib, &dib) == sizeof dib ? dib.dsBm.bmBitsPixel : -1;
}

void native_watch(std::intptr_t handle) { watched.push_back(reinterpret_cast<HGDIOBJ>(handle)); }

int native_alive() {
    int alive = 0;
    for (HGDIOBJ object : watched) alive += GetObjectType(object) != 0 ? 1 : 0;
    return alive;
}
