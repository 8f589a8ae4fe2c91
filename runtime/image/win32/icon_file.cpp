// Icon files: the directory's best entry for the size of its first entry,
// made into an icon.
#include <cstdint>
#include <cstring>
#include <vector>

#include "runtime/image/win32/image_win32.h"

namespace {

constexpr std::size_t directory_size = 6;
constexpr std::size_t entry_size = 16;
constexpr unsigned char png_signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

std::uint32_t read32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
std::uint16_t read16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

struct IconEntry {
    int width;   // the directory's width and height bytes (0 stands for 256)
    int height;
    int bit_count;
    std::uint32_t bytes;
    std::uint32_t offset;
};

IconEntry entry_at(const unsigned char* data, int index) {
    const unsigned char* p = data + directory_size + static_cast<std::size_t>(index) * entry_size;
    return IconEntry{p[0], p[1], read16(p + 6), read32(p + 8), read32(p + 12)};
}

// The first entry, replaced by any later one of the same width and height
// with strictly more bits per pixel.
IconEntry choose_entry(const unsigned char* data, int count) {
    const IconEntry first = entry_at(data, 0);
    IconEntry chosen = first;
    for (int i = 1; i < count; ++i) {
        const IconEntry entry = entry_at(data, i);
        if (entry.width == first.width && entry.height == first.height && entry.bit_count > chosen.bit_count)
            chosen = entry;
    }
    return chosen;
}

// The size to ask for: the image header's width and half its height (the
// header counts the mask rows too); for a PNG entry, the directory's.
void requested_size(const std::vector<BYTE>& block, const IconEntry& entry, int& width, int& height) {
    if (block.size() >= sizeof png_signature && std::memcmp(block.data(), png_signature, sizeof png_signature) == 0) {
        width = entry.width ? entry.width : 256;
        height = entry.height ? entry.height : 256;
        return;
    }
    width = static_cast<std::int32_t>(read32(block.data() + 4));
    height = static_cast<std::int32_t>(read32(block.data() + 8)) / 2;
    // A size no icon has: let the platform take the image's own.
    if (width <= 0 || height <= 0 || width > 1024 || height > 1024) width = height = 0;
}

HICON create_icon(std::vector<BYTE>& block, const IconEntry& entry) {
    int width = 0;
    int height = 0;
    requested_size(block, entry, width, height);
    const auto size = static_cast<DWORD>(block.size());
    HICON icon = CreateIconFromResourceEx(block.data(), size, TRUE, 0x30000, width, height, LR_DEFAULTCOLOR);
    const int image_bit_count = read16(block.data() + 14);
    if (!icon && image_bit_count != 16) icon = CreateIconFromResource(block.data(), size, TRUE, 0x30000);
    return icon;
}

bool record_icon_shape(HICON icon, ImageRecord& record) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return false;
    bool shaped = false;
    if (info.hbmColor) {
        shaped = record_bitmap_shape(info.hbmColor, record);
    } else if (record_bitmap_shape(info.hbmMask, record)) {
        // A monochrome icon keeps image and mask one above the other.
        record.height = static_cast<std::uint16_t>(record.height / 2);
        shaped = true;
    }
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return shaped;
}

}  // namespace

ImageMade icon_file_image(const unsigned char* data, std::size_t size, ImageRecord& record) {
    if (size < directory_size || read16(data) != 0 || read16(data + 2) != 1) return ImageMade::not_mine;
    const int count = read16(data + 4);
    if (count == 0 || directory_size + static_cast<std::size_t>(count) * entry_size > size) return ImageMade::not_mine;
    const IconEntry entry = choose_entry(data, count);
    // The image must lie inside the data and hold at least a bitmap header.
    if (entry.offset > size || entry.bytes > size - entry.offset || entry.bytes < sizeof(BITMAPINFOHEADER))
        return ImageMade::not_mine;

    std::vector<BYTE> block(data + entry.offset, data + entry.offset + entry.bytes);
    HICON icon = create_icon(block, entry);
    if (!icon) return ImageMade::not_mine;
    if (!record_icon_shape(icon, record)) {
        DestroyIcon(icon);
        return ImageMade::failed;
    }
    record.handle = reinterpret_cast<std::intptr_t>(icon);
    record.source_depth = record.depth;
    record.tag = IMAGE_TAG_ICON;
    return ImageMade::made;
}
