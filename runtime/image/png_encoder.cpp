#include "runtime/image/png_encoder.h"

#include <png.h>

#include <new>

#include "runtime/image/image.h"

namespace {

void ignore_warning(png_structp, png_const_charp) {}

void write_to_memory(png_structp png, png_bytep data, png_size_t length) {
    auto& out = *static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
    bool stored = true;
    try {
        out.insert(out.end(), data, data + length);
    } catch (const std::bad_alloc&) {
        stored = false;
    }
    // libpng recovers by jumping, which must not leave a catch block.
    if (!stored) png_error(png, "out of memory");
}

void flush_nothing(png_structp) {}

struct Image {
    const unsigned char* pixels;
    std::size_t pitch;
    int width;
    int height;
    int colour_type;
};

void write_image(png_structp png, png_infop info, const Image& image, std::vector<unsigned char>& out) {
    png_set_error_fn(png, nullptr, nullptr, ignore_warning);
    png_set_write_fn(png, &out, write_to_memory, flush_nothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
                 image.colour_type, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_set_bgr(png);
    // The first PNG row is the top one, the last in a bottom-up DIB.
    for (int y = image.height - 1; y >= 0; --y)
        png_write_row(png, image.pixels + static_cast<std::size_t>(y) * image.pitch);
    png_write_end(png, info);
}

bool encode(const Image& image, std::vector<unsigned char>& out) {
    out.clear();
    if (!image.pixels || image.width <= 0 || image.height <= 0) return false;
    const int depth = image.colour_type == PNG_COLOR_TYPE_RGB ? 24 : 32;
    if (image.pitch < image_row_pitch(image.width, depth)) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        out.clear();
        return false;
    }
    write_image(png, info, image, out);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool png_encode24(const unsigned char* pixels, std::size_t pitch, int width, int height,
                  std::vector<unsigned char>& out) {
    return encode(Image{pixels, pitch, width, height, PNG_COLOR_TYPE_RGB}, out);
}

bool png_encode32(const unsigned char* pixels, std::size_t pitch, int width, int height,
                  std::vector<unsigned char>& out) {
    return encode(Image{pixels, pitch, width, height, PNG_COLOR_TYPE_RGB_ALPHA}, out);
}

void image_encoder_png_register() { image_encoder_add(ImageEncoder{IMAGE_TAG_PNG, png_encode24, png_encode32}); }
