#include "png_test_support.h"

#include <png.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

std::uint32_t big_endian32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
           static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}

// The simplified API converts to sRGB whenever the file states another
// gamma; without the colour-space chunks it takes the samples as they are,
// as the runtime's decoder does.
Bytes without_colour_space_chunks(const Bytes& png) {
    Bytes out(png.begin(), png.begin() + 8);
    std::size_t at = 8;
    while (at + 12 <= png.size()) {
        const std::size_t length = big_endian32(&png[at]);
        const std::string type(png.begin() + static_cast<long>(at) + 4, png.begin() + static_cast<long>(at) + 8);
        const std::size_t end = at + 12 + length;
        if (type != "gAMA" && type != "cHRM" && type != "sRGB" && type != "iCCP")
            out.insert(out.end(), png.begin() + static_cast<long>(at), png.begin() + static_cast<long>(end));
        at = end;
    }
    return out;
}

bool simplified_decode(const Bytes& png, Pixels& out) {
    const Bytes plain = without_colour_space_chunks(png);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, plain.data(), plain.size())) return false;
    image.format = PNG_FORMAT_BGRA;
    out.width = static_cast<int>(image.width);
    out.height = static_cast<int>(image.height);
    out.bgra.assign(PNG_IMAGE_SIZE(image), 0);
    const bool done = png_image_finish_read(&image, nullptr, out.bgra.data(), 0, nullptr) != 0;
    png_image_free(&image);
    return done;
}

// 16-bit files: the simplified API treats 16-bit samples as linear light and
// converts them to 8-bit sRGB (and rounds rather than cuts), which is not
// what the runtime does; so the samples are read raw (only de-interlaced)
// and turned into pixels here: high byte of each sample, grey copied to
// blue, green and red, tRNS matched on the full 16-bit value.
struct RawRead {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~RawRead() { png_destroy_read_struct(&png, &info, nullptr); }
};

struct MemorySource {
    const Bytes* data;
    std::size_t at;
};

void read_memory(png_structp png, png_bytep out, png_size_t length) {
    auto* source = static_cast<MemorySource*>(png_get_io_ptr(png));
    if (length > source->data->size() - source->at) png_error(png, "short");
    std::copy_n(source->data->begin() + static_cast<long>(source->at), length, out);
    source->at += length;
}

// Everything that can make libpng jump; no locals that need destroying.
void read_raw(png_structp png, png_infop info, MemorySource& source, std::vector<Bytes>& rows) {
    png_set_read_fn(png, &source, read_memory);
    png_read_info(png, info);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    rows.assign(png_get_image_height(png, info), Bytes(png_get_rowbytes(png, info)));
    for (int pass = 0; pass < passes; ++pass)
        for (Bytes& row : rows) png_read_row(png, row.data(), nullptr);
}

bool raw_rows(const Bytes& png, std::vector<Bytes>& rows) {
    RawRead read;
    MemorySource source{&png, 0};
    read.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!read.png) return false;
    read.info = png_create_info_struct(read.png);
    if (!read.info || setjmp(png_jmpbuf(read.png))) return false;
    read_raw(read.png, read.info, source, rows);
    return true;
}

bool sixteen_bit_decode(const Bytes& png, Pixels& out) {
    const PngHeader header = png_header(png);
    std::vector<Bytes> rows;
    if (!raw_rows(png, rows)) return false;
    Bytes trns;
    for (const PngChunk& chunk : png_chunks(png))
        if (chunk.type == "tRNS") trns = chunk.data;
    const int channels = header.colour_type == 0 ? 1 : header.colour_type == 2 ? 3 : header.colour_type == 4 ? 2 : 4;
    out.width = header.width;
    out.height = header.height;
    out.bgra.clear();
    for (const Bytes& row : rows) {
        for (int x = 0; x < header.width; ++x) {
            const unsigned char* p = row.data() + static_cast<std::size_t>(x * channels * 2);
            const bool grey = header.colour_type == 0 || header.colour_type == 4;
            const unsigned char r = p[0];
            const unsigned char g = grey ? p[0] : p[2];
            const unsigned char b = grey ? p[0] : p[4];
            unsigned char a = 255;
            if (header.colour_type == 4) a = p[2];
            if (header.colour_type == 6) a = p[6];
            const std::size_t sample_bytes = grey ? 2 : 6;
            if (trns.size() == sample_bytes && std::equal(trns.begin(), trns.end(), p)) a = 0;
            out.bgra.insert(out.bgra.end(), {b, g, r, a});
        }
    }
    return true;
}

}  // namespace

Bytes read_file(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string pngsuite_path(const std::string& name) { return std::string(PNGSUITE_DIR) + "/" + name; }

std::vector<std::string> pngsuite_names() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(PNGSUITE_DIR))
        if (entry.path().extension() == ".png") names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<PngChunk> png_chunks(const Bytes& png) {
    static const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (png.size() < 8 || !std::equal(signature, signature + 8, png.begin())) return {};
    std::vector<PngChunk> chunks;
    std::size_t at = 8;
    while (at < png.size()) {
        if (png.size() - at < 12) return {};
        const std::size_t length = big_endian32(&png[at]);
        if (length > png.size() - at - 12) return {};
        const auto start = png.begin() + static_cast<long>(at);
        chunks.push_back(PngChunk{std::string(start + 4, start + 8), Bytes(start + 8, start + 8 + static_cast<long>(length))});
        at += 12 + length;
    }
    return chunks;
}

PngHeader png_header(const Bytes& png) {
    PngHeader header{};
    for (const PngChunk& chunk : png_chunks(png)) {
        if (chunk.type == "IHDR" && chunk.data.size() == 13) {
            header.width = static_cast<int>(big_endian32(&chunk.data[0]));
            header.height = static_cast<int>(big_endian32(&chunk.data[4]));
            header.bit_depth = chunk.data[8];
            header.colour_type = chunk.data[9];
            header.interlace = chunk.data[12];
        }
        if (chunk.type == "tRNS") header.transparency = true;
    }
    return header;
}

Pixels pixels_from_rows(const unsigned char* rows, std::size_t pitch, int width, int height, int depth,
                        bool bottom_up) {
    Pixels pixels{width, height, {}};
    const int bytes_per_pixel = depth / 8;
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = rows + static_cast<std::size_t>(bottom_up ? height - 1 - y : y) * pitch;
        for (int x = 0; x < width; ++x) {
            const unsigned char* p = row + static_cast<std::size_t>(x * bytes_per_pixel);
            pixels.bgra.insert(pixels.bgra.end(), {p[0], p[1], p[2], depth == 32 ? p[3] : static_cast<unsigned char>(255)});
        }
    }
    return pixels;
}

bool reference_decode(const Bytes& png, Pixels& out) {
    return png_header(png).bit_depth == 16 ? sixteen_bit_decode(png, out) : simplified_decode(png, out);
}

::testing::AssertionResult same_pixels(const Pixels& actual, const Pixels& expected) {
    if (actual.width != expected.width || actual.height != expected.height)
        return ::testing::AssertionFailure() << "size " << actual.width << "x" << actual.height << ", expected "
                                             << expected.width << "x" << expected.height;
    if (actual.bgra.size() != expected.bgra.size())
        return ::testing::AssertionFailure() << actual.bgra.size() << " bytes, expected " << expected.bgra.size();
    for (std::size_t i = 0; i < actual.bgra.size(); ++i) {
        if (actual.bgra[i] != expected.bgra[i]) {
            const std::size_t pixel = i / 4;
            return ::testing::AssertionFailure()
                   << "pixel (" << pixel % static_cast<std::size_t>(actual.width) << ", "
                   << pixel / static_cast<std::size_t>(actual.width) << ") byte " << i % 4 << " (B, G, R, A) is "
                   << int{actual.bgra[i]} << ", expected " << int{expected.bgra[i]};
        }
    }
    return ::testing::AssertionSuccess();
}

Decoded decode(const unsigned char* data, std::size_t size, int flags) {
    Decoded result;
    DecodeContext& context = decode_context();
    result.probed = decode_start(context, data, size);
    if (!result.probed) return result;
    result.tag = context.decoder->tag;
    result.depth = context.depth;
    result.source_depth = context.source_depth;
    const std::size_t pitch = image_row_pitch(context.width, context.depth);
    Bytes rows(pitch * static_cast<std::size_t>(context.height));
    result.read = context.decoder->read(context, rows.data(), pitch, flags);
    context.decoder->close(context);
    if (result.read)
        result.pixels = pixels_from_rows(rows.data(), pitch, context.width, context.height, context.depth,
                                         (flags & DECODE_BOTTOM_UP) != 0);
    return result;
}

Decoded decode(const Bytes& data) { return decode(data.data(), data.size()); }
