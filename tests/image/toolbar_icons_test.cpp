// The embedded toolbar icons as the program carries them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "png_test_support.h"
#include "resources/toolbar_icons.h"
#include "runtime/image/image.h"
#include "runtime/image/image_codecs.h"

namespace {

Bytes icon(int n) { return Bytes(toolbar_icon_data(n), toolbar_icon_data(n) + toolbar_icon_size(n)); }
Bytes icon_32(int n) { return Bytes(toolbar_icon_32_data(n), toolbar_icon_32_data(n) + toolbar_icon_32_size(n)); }

// Straight-alpha pixels as premultiplied values, so that what transparent
// pixels hold (any colour) never counts.
int premultiplied(const Pixels& pixels, int x, int y, int channel) {
    const unsigned char* p = &pixels.bgra[static_cast<std::size_t>((y * pixels.width + x) * 4)];
    return channel == 3 ? p[3] : p[channel] * p[3] / 255;
}

TEST(ToolbarIcons, EachSetHoldsFifteenStreamsBackToBack) {
    const struct {
        int (*count)();
        const unsigned char* (*data)(int);
        std::size_t (*size)(int);
    } sets[] = {{toolbar_icon_count, toolbar_icon_data, toolbar_icon_size},
                {toolbar_icon_32_count, toolbar_icon_32_data, toolbar_icon_32_size}};
    for (const auto& set : sets) {
        ASSERT_EQ(set.count(), 15);
        for (int n = 0; n + 1 < 15; ++n) EXPECT_EQ(set.data(n) + set.size(n), set.data(n + 1));
        EXPECT_EQ(set.data(15), nullptr);
        EXPECT_EQ(set.data(-1), nullptr);
        EXPECT_EQ(set.size(15), 0u);
    }
}

TEST(ToolbarIcons, EachStreamHoldsExactlyTheExpectedChunks) {
    for (int n = 0; n < 30; ++n) {
        SCOPED_TRACE(n);
        const int size = n < 15 ? 16 : 32;
        const Bytes png = n < 15 ? icon(n) : icon_32(n - 15);
        const std::vector<PngChunk> chunks = png_chunks(png);
        ASSERT_EQ(chunks.size(), 5u);
        EXPECT_EQ(chunks[0].type, "IHDR");
        EXPECT_EQ(chunks[1].type, "gAMA");
        EXPECT_EQ(chunks[1].data, (Bytes{0, 0, 0xAF, 0xC8}));  // 45000
        EXPECT_EQ(chunks[2].type, "tEXt");
        const std::string text(chunks[2].data.begin(), chunks[2].data.end());
        EXPECT_EQ(text, std::string("Software\0Tunelathe icon generator", 33));
        EXPECT_EQ(chunks[3].type, "IDAT");
        EXPECT_EQ(chunks[4].type, "IEND");
        const PngHeader header = png_header(png);
        EXPECT_EQ(header.width, size);
        EXPECT_EQ(header.height, size);
        EXPECT_EQ(header.bit_depth, 8);
        EXPECT_EQ(header.interlace, 0);
        EXPECT_EQ(header.colour_type, n % 15 == 9 ? 4 : 6);  // the stop sign is grey with alpha
    }
}

TEST(ToolbarIcons, EachDecodesToAPictureWithTransparentSurroundings) {
    image_decoder_png_register();
    for (int n = 0; n < 15; ++n) {
        SCOPED_TRACE(n);
        const Decoded decoded = decode(icon(n));
        ASSERT_TRUE(decoded.read);
        EXPECT_EQ(decoded.pixels.width, 16);
        EXPECT_EQ(decoded.pixels.height, 16);
        EXPECT_EQ(decoded.depth, 32);
        int transparent = 0;
        int opaque = 0;
        for (std::size_t i = 3; i < decoded.pixels.bgra.size(); i += 4) {
            transparent += decoded.pixels.bgra[i] == 0;
            opaque += decoded.pixels.bgra[i] == 255;
        }
        // A drawn picture, not an empty or a filled square.
        EXPECT_GE(opaque, 40);
        EXPECT_GE(transparent, 8);
    }
}

// Each 32-pixel icon is its 16-pixel picture drawn at twice the size: four
// of its pixels together cover what one 16-pixel pixel covers (within the
// rounding of two drawings), yet it is no enlargement, which would repeat
// each pixel in a 2 x 2 block and add no detail at any edge.
TEST(ToolbarIcons, Each32PixelIconShowsTheSamePictureInFinerDetail) {
    for (int n = 0; n < 15; ++n) {
        SCOPED_TRACE(n);
        Pixels small;
        Pixels large;
        ASSERT_TRUE(reference_decode(icon(n), small));
        ASSERT_TRUE(reference_decode(icon_32(n), large));
        ASSERT_EQ(large.width, 32);
        int worst_average = 0;
        int total_difference = 0;
        int blocks_with_detail = 0;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                bool detail = false;
                for (int channel = 0; channel < 4; ++channel) {
                    const int corner = premultiplied(large, 2 * x, 2 * y, channel);
                    int sum = 0;
                    for (int dy = 0; dy < 2; ++dy)
                        for (int dx = 0; dx < 2; ++dx) {
                            const int value = premultiplied(large, 2 * x + dx, 2 * y + dy, channel);
                            sum += value;
                            detail = detail || std::abs(value - corner) > 8;
                        }
                    const int difference = std::abs((sum + 2) / 4 - premultiplied(small, x, y, channel));
                    worst_average = std::max(worst_average, difference);
                    total_difference += difference;
                }
                blocks_with_detail += detail;
            }
        }
        // Where shapes overlap inside one small pixel the two drawings round
        // apart most; on average they agree within one step.
        EXPECT_LE(worst_average, 40);
        EXPECT_LE(total_difference, 16 * 16 * 4);
        EXPECT_GE(blocks_with_detail, 4);
    }
}

}  // namespace
