#include "test_images.h"

#include "runtime/image/image.h"

namespace {

void put16(Bytes& out, unsigned value) {
    out.push_back(static_cast<unsigned char>(value));
    out.push_back(static_cast<unsigned char>(value >> 8));
}

void put32(Bytes& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

void put_info_header(Bytes& out, int width, int height, int bit_count, std::size_t colours, std::size_t image_size) {
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(width));
    put32(out, static_cast<std::uint32_t>(height));
    put16(out, 1);
    put16(out, static_cast<unsigned>(bit_count));
    put32(out, BI_RGB);
    put32(out, static_cast<std::uint32_t>(image_size));
    put32(out, 0);
    put32(out, 0);
    put32(out, static_cast<std::uint32_t>(colours));
    put32(out, 0);
}

// An icon resource image: header of twice the height, palette, XOR pixels
// (every pixel the one colour), an all-opaque AND mask.
Bytes icon_image(const IconEntryPlan& plan) {
    const int size = plan.size;
    const std::size_t pitch = image_row_pitch(size, plan.bit_count);
    const std::size_t mask_pitch = image_row_pitch(size, 1);
    const std::size_t colours = plan.bit_count <= 8 ? std::size_t{1} << plan.bit_count : 0;
    Bytes out;
    put_info_header(out, size, size * 2, plan.bit_count, 0, (pitch + mask_pitch) * static_cast<std::size_t>(size));
    for (std::size_t i = 0; i < colours; ++i) put32(out, i == 1 ? plan.colour : 0x808080);
    for (int y = 0; y < size; ++y) {
        Bytes row(pitch, 0);
        for (int x = 0; x < size; ++x) {
            if (plan.bit_count == 32) {
                const std::size_t at = static_cast<std::size_t>(x) * 4;
                row[at] = static_cast<unsigned char>(plan.colour);
                row[at + 1] = static_cast<unsigned char>(plan.colour >> 8);
                row[at + 2] = static_cast<unsigned char>(plan.colour >> 16);
                row[at + 3] = 255;
            } else if (plan.bit_count == 8) {
                row[static_cast<std::size_t>(x)] = 1;
            } else {
                row[static_cast<std::size_t>(x / 2)] = 0x11;  // index 1 in both halves
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    out.insert(out.end(), mask_pitch * static_cast<std::size_t>(size), 0);
    return out;
}

}  // namespace

Bytes bmp_file(int width, int height, int bit_count, const std::vector<std::uint32_t>& palette,
               const Bytes& pixel_bytes) {
    const std::size_t offset = 14 + 40 + palette.size() * 4;
    Bytes out{'B', 'M'};
    put32(out, static_cast<std::uint32_t>(offset + pixel_bytes.size()));
    put32(out, 0);
    put32(out, static_cast<std::uint32_t>(offset));
    put_info_header(out, width, height, bit_count, palette.size(), pixel_bytes.size());
    for (std::uint32_t colour : palette) put32(out, colour);
    out.insert(out.end(), pixel_bytes.begin(), pixel_bytes.end());
    return out;
}

Bytes ico_file(const std::vector<IconEntryPlan>& entries) {
    std::vector<Bytes> images;
    for (const IconEntryPlan& plan : entries) images.push_back(icon_image(plan));
    Bytes out;
    put16(out, 0);
    put16(out, 1);
    put16(out, static_cast<unsigned>(entries.size()));
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const auto side = static_cast<unsigned char>(entries[i].size);
        out.insert(out.end(), {side, side, static_cast<unsigned char>(entries[i].bit_count == 4 ? 16 : 0), 0});
        put16(out, 1);
        put16(out, static_cast<unsigned>(entries[i].bit_count));
        put32(out, static_cast<std::uint32_t>(images[i].size()));
        put32(out, offset);
        offset += static_cast<std::uint32_t>(images[i].size());
    }
    for (const Bytes& image : images) out.insert(out.end(), image.begin(), image.end());
    return out;
}

std::uint32_t icon_middle_colour(HICON icon, int size) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP target = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, target);
    DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    GdiFlush();
    const auto* pixel = static_cast<const unsigned char*>(bits) + (static_cast<std::size_t>(size / 2) * size + size / 2) * 4;
    const std::uint32_t colour = static_cast<std::uint32_t>(pixel[2]) << 16 | static_cast<std::uint32_t>(pixel[1]) << 8 | pixel[0];
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(target);
    return colour;
}
