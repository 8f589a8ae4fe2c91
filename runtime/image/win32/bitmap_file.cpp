// Bitmap files ("BM"): the file's pixels converted into a DIB section of at
// least 24 bits per pixel. Every offset and size in the file is checked
// against the data's size before GDI reads anything.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "runtime/image/win32/image_win32.h"

namespace {

constexpr std::size_t file_header_size = 14;

std::uint32_t read32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
std::uint16_t read16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

// The info header with its colour masks and colour table, copied so that GDI
// reads an aligned block of exactly the bytes the file provides; empty when
// the file is not one GDI can convert or does not hold what it claims.
std::vector<unsigned char> checked_info(const unsigned char* data, std::size_t size) {
    if (size < file_header_size + sizeof(BITMAPINFOHEADER)) return {};
    const unsigned char* header = data + file_header_size;
    const std::uint64_t header_size = read32(header);
    const auto width = static_cast<std::int32_t>(read32(header + 4));
    const auto height = static_cast<std::int32_t>(read32(header + 8));
    const std::uint16_t bit_count = read16(header + 14);
    const std::uint32_t compression = read32(header + 16);
    const std::uint32_t image_size = read32(header + 20);
    const std::uint64_t colours_used = read32(header + 32);
    const std::uint64_t pixel_offset = read32(data + 10);

    if (header_size < sizeof(BITMAPINFOHEADER) || width <= 0 || height == 0 || height == INT32_MIN) return {};
    std::uint64_t masks = 0;
    if (compression == BI_BITFIELDS && header_size == sizeof(BITMAPINFOHEADER)) masks = 12;
    std::uint64_t colours = colours_used;
    if (colours == 0 && bit_count <= 8) colours = std::uint64_t{1} << bit_count;
    const std::uint64_t info_size = header_size + masks + colours * 4;
    if (file_header_size + info_size > size || pixel_offset > size) return {};

    std::uint64_t pixel_bytes = 0;
    const bool rle = (compression == BI_RLE8 && bit_count == 8) || (compression == BI_RLE4 && bit_count == 4);
    if (rle) {
        pixel_bytes = image_size;
        if (pixel_bytes == 0) return {};
    } else if (compression == BI_RGB || compression == BI_BITFIELDS) {
        if (bit_count != 1 && bit_count != 4 && bit_count != 8 && bit_count != 16 && bit_count != 24 &&
            bit_count != 32)
            return {};
        pixel_bytes = image_row_pitch(width, bit_count) * static_cast<std::uint64_t>(std::abs(std::int64_t{height}));
    } else {
        return {};  // JPEG or PNG inside a bitmap file: for printers only
    }
    if (pixel_bytes > size - pixel_offset) return {};
    return std::vector<unsigned char>(header, header + info_size);
}

// A 32-bit bitmap whose alpha bytes are all zero carries no alpha: opaque.
void make_opaque_without_alpha(unsigned char* pixels, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        if (pixels[i * 4 + 3] != 0) return;
    for (std::size_t i = 0; i < count; ++i) pixels[i * 4 + 3] = 255;
}

}  // namespace

ImageMade bitmap_file_image(const unsigned char* data, std::size_t size, ImageRecord& record) {
    const std::vector<unsigned char> info = checked_info(data, size);
    if (info.empty()) return ImageMade::failed;
    const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(info.data());
    const int height = std::abs(static_cast<int>(header->biHeight));
    const int depth = header->biBitCount > 24 ? 32 : 24;

    void* bits = nullptr;
    HBITMAP section = dib_section_create(header->biWidth, height, depth, &bits);
    if (!section) return ImageMade::failed;
    HDC dc = CreateCompatibleDC(nullptr);
    const int lines = dc ? SetDIBits(dc, section, 0, static_cast<UINT>(height), data + read32(data + 10),
                                     reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS)
                         : 0;
    if (dc) DeleteDC(dc);
    if (lines <= 0) {
        DeleteObject(section);
        return ImageMade::failed;
    }
    GdiFlush();  // GDI may still be writing the section's pixels
    if (depth == 32)
        make_opaque_without_alpha(static_cast<unsigned char*>(bits),
                                  static_cast<std::size_t>(header->biWidth) * static_cast<std::size_t>(height));

    record.handle = reinterpret_cast<std::intptr_t>(section);
    record_bitmap_shape(section, record);
    record.source_depth = static_cast<std::uint8_t>(header->biBitCount);
    record.tag = IMAGE_TAG_BMP;
    return ImageMade::made;
}
