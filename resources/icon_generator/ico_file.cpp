#include "ico_file.h"

#include <cstdint>

namespace {

void put16(std::vector<unsigned char>& out, unsigned value) {
    out.push_back(static_cast<unsigned char>(value));
    out.push_back(static_cast<unsigned char>(value >> 8));
}

void put32(std::vector<unsigned char>& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

// The image as an icon resource: a bitmap header of twice the height (colour
// rows, then mask rows), BGRA rows bottom-up, the AND mask bottom-up with
// rows padded to 4 bytes and 1 where the pixel is fully transparent.
std::vector<unsigned char> icon_bitmap(const IconImage& image) {
    const int size = image.size;
    const int mask_pitch = (size + 31) / 32 * 4;
    std::vector<unsigned char> out;
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(size));
    put32(out, static_cast<std::uint32_t>(size * 2));
    put16(out, 1);
    put16(out, 32);
    put32(out, 0);  // BI_RGB
    put32(out, static_cast<std::uint32_t>(size * size * 4 + mask_pitch * size));
    for (int i = 0; i < 4; ++i) put32(out, 0);
    for (int y = size - 1; y >= 0; --y) {
        for (int x = 0; x < size; ++x) {
            const unsigned char* p = image.rgba.data() + (static_cast<std::size_t>(y) * size + x) * 4;
            out.insert(out.end(), {p[2], p[1], p[0], p[3]});
        }
    }
    for (int y = size - 1; y >= 0; --y) {
        std::vector<unsigned char> row(static_cast<std::size_t>(mask_pitch), 0);
        for (int x = 0; x < size; ++x)
            if (image.rgba[(static_cast<std::size_t>(y) * size + x) * 4 + 3] == 0)
                row[static_cast<std::size_t>(x / 8)] |= static_cast<unsigned char>(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

}  // namespace

std::vector<unsigned char> ico_file(const std::vector<IconImage>& images) {
    std::vector<std::vector<unsigned char>> bitmaps;
    for (const IconImage& image : images) bitmaps.push_back(icon_bitmap(image));
    std::vector<unsigned char> out;
    put16(out, 0);
    put16(out, 1);
    put16(out, static_cast<unsigned>(images.size()));
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const unsigned side = images[i].size >= 256 ? 0 : static_cast<unsigned>(images[i].size);
        out.insert(out.end(), {static_cast<unsigned char>(side), static_cast<unsigned char>(side), 0, 0});
        put16(out, 1);
        put16(out, 32);
        put32(out, static_cast<std::uint32_t>(bitmaps[i].size()));
        put32(out, offset);
        offset += static_cast<std::uint32_t>(bitmaps[i].size());
    }
    for (const auto& bitmap : bitmaps) out.insert(out.end(), bitmap.begin(), bitmap.end());
    return out;
}
