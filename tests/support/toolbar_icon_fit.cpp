#include "tests/support/toolbar_icon_fit.h"

#include <algorithm>
#include <cstdlib>

#include "resources/toolbar_icons.h"
#include "runtime/image/image_codecs.h"

Picture decoded(const unsigned char* png, std::size_t length) {
    Picture picture;
    DecodeContext& context = decode_context();
    if (!decode_start(context, png, length)) return picture;
    picture.size = context.width;
    picture.bgra.resize(static_cast<std::size_t>(context.width * context.height * 4));
    if (!context.decoder->read(context, picture.bgra.data(), static_cast<std::size_t>(context.width * 4), 0))
        picture = Picture{};
    context.decoder->close(context);
    return picture;
}

Picture toolbar_icon(int n, int side) {
    if (side == 32) return decoded(toolbar_icon_32_data(n), toolbar_icon_32_size(n));
    return decoded(toolbar_icon_data(n), toolbar_icon_size(n));
}

Picture enlarged(const Picture& small) {
    Picture large{small.size * 2, {}};
    for (int y = 0; y < large.size; ++y)
        for (int x = 0; x < large.size; ++x) {
            const auto at = static_cast<std::size_t>(((y / 2) * small.size + x / 2) * 4);
            large.bgra.insert(large.bgra.end(), small.bgra.begin() + static_cast<long>(at),
                              small.bgra.begin() + static_cast<long>(at) + 4);
        }
    return large;
}

int best_fit(const std::vector<unsigned long>& shown, int width, int height, const Picture& picture) {
    const unsigned long background = shown.back();
    int best_sum = -1;
    int best_worst = 256;
    for (int oy = 0; oy + picture.size <= height; ++oy) {
        for (int ox = 0; ox + picture.size <= width; ++ox) {
            int sum = 0;
            int worst = 0;
            for (int y = 0; y < picture.size; ++y) {
                for (int x = 0; x < picture.size; ++x) {
                    const unsigned char* p = &picture.bgra[static_cast<std::size_t>((y * picture.size + x) * 4)];
                    const unsigned long seen = shown[static_cast<std::size_t>((oy + y) * width + ox + x)];
                    for (int channel = 0; channel < 3; ++channel) {
                        const int back = static_cast<int>(background >> (8 * channel) & 0xFF);
                        const int drawn = (p[channel] * p[3] + back * (255 - p[3]) + 127) / 255;
                        const int difference = std::abs(drawn - static_cast<int>(seen >> (8 * channel) & 0xFF));
                        sum += difference;
                        worst = std::max(worst, difference);
                    }
                }
            }
            if (best_sum < 0 || sum < best_sum) {
                best_sum = sum;
                best_worst = worst;
            }
        }
    }
    return best_worst;
}
