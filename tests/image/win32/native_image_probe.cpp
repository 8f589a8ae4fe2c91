// The images' native side under Windows: DIB sections and icons, which exist
// while GDI knows their handle.
#include "tests/image/native_image_probe.h"

#include <windows.h>

#include <vector>

#include "tests/image/win32/test_images.h"

namespace {

std::vector<HGDIOBJ> watched;

}  // namespace

Pixels native_pixels(std::intptr_t handle) { return section_pixels(reinterpret_cast<HBITMAP>(handle)); }

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
