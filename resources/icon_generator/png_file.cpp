#include "png_file.h"

#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

constexpr char software[] = "Tunelathe icon generator";

void put32(std::vector<unsigned char>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<unsigned char>(value >> shift));
}

void put_chunk(std::vector<unsigned char>& out, const char* type, const std::vector<unsigned char>& data) {
    put32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    put32(out, static_cast<std::uint32_t>(crc32(0, out.data() + start, static_cast<uInt>(out.size() - start))));
}

int paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a);
    const int pb = std::abs(p - b);
    const int pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) return a;
    return pb <= pc ? b : c;
}

// Each row with the filter that gives the smallest sum of absolute
// differences, the usual choice for good compression.
std::vector<unsigned char> filtered_rows(const std::vector<unsigned char>& pixels, int width, int height,
                                         int channels) {
    const std::size_t row_bytes = static_cast<std::size_t>(width * channels);
    std::vector<unsigned char> out;
    const std::vector<unsigned char> zero_row(row_bytes, 0);
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = pixels.data() + static_cast<std::size_t>(y) * row_bytes;
        const unsigned char* up = y ? row - row_bytes : zero_row.data();
        std::vector<unsigned char> best;
        long best_cost = -1;
        for (int filter = 0; filter < 5; ++filter) {
            std::vector<unsigned char> candidate{static_cast<unsigned char>(filter)};
            long cost = 0;
            for (std::size_t i = 0; i < row_bytes; ++i) {
                const int a = i >= static_cast<std::size_t>(channels) ? row[i - channels] : 0;
                const int b = up[i];
                const int c = i >= static_cast<std::size_t>(channels) ? up[i - channels] : 0;
                const int predictors[5] = {0, a, b, (a + b) / 2, paeth(a, b, c)};
                const auto value = static_cast<unsigned char>(row[i] - predictors[filter]);
                candidate.push_back(value);
                cost += value < 128 ? value : 256 - value;
            }
            if (best_cost < 0 || cost < best_cost) {
                best_cost = cost;
                best = std::move(candidate);
            }
        }
        out.insert(out.end(), best.begin(), best.end());
    }
    return out;
}

}  // namespace

std::vector<unsigned char> png_stream(const std::vector<unsigned char>& rgba, int width, int height,
                                      bool grey_alpha) {
    std::vector<unsigned char> pixels;
    if (grey_alpha) {
        for (std::size_t i = 0; i < rgba.size(); i += 4) {
            if (rgba[i] != rgba[i + 1] || rgba[i] != rgba[i + 2]) return {};
            pixels.push_back(rgba[i]);
            pixels.push_back(rgba[i + 3]);
        }
    } else {
        pixels = rgba;
    }
    const int channels = grey_alpha ? 2 : 4;
    const std::vector<unsigned char> raw = filtered_rows(pixels, width, height, channels);
    uLongf packed_size = compressBound(static_cast<uLong>(raw.size()));
    std::vector<unsigned char> packed(packed_size);
    if (compress2(packed.data(), &packed_size, raw.data(), static_cast<uLong>(raw.size()), 9) != Z_OK) return {};
    packed.resize(packed_size);

    std::vector<unsigned char> out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<unsigned char> header;
    put32(header, static_cast<std::uint32_t>(width));
    put32(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, static_cast<unsigned char>(grey_alpha ? 4 : 6), 0, 0, 0});
    put_chunk(out, "IHDR", header);
    std::vector<unsigned char> gamma;
    put32(gamma, 45000);
    put_chunk(out, "gAMA", gamma);
    std::vector<unsigned char> text{'S', 'o', 'f', 't', 'w', 'a', 'r', 'e', 0};
    text.insert(text.end(), software, software + sizeof software - 1);
    put_chunk(out, "tEXt", text);
    put_chunk(out, "IDAT", packed);
    put_chunk(out, "IEND", {});
    return out;
}
