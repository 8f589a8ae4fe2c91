// The embedded toolbar icons as the program carries them.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "png_test_support.h"
#include "resources/toolbar_icons.h"
#include "runtime/image/image.h"
#include "runtime/image/image_codecs.h"

namespace {

Bytes icon(int n) {
    const unsigned char* data = toolbar_icon_data(n);
    return Bytes(data, data + toolbar_icon_size(n));
}

TEST(ToolbarIcons, FifteenStreamsLieBackToBack) {
    ASSERT_EQ(toolbar_icon_count(), 15);
    for (int n = 0; n + 1 < 15; ++n) EXPECT_EQ(toolbar_icon_data(n) + toolbar_icon_size(n), toolbar_icon_data(n + 1));
    EXPECT_EQ(toolbar_icon_data(15), nullptr);
    EXPECT_EQ(toolbar_icon_data(-1), nullptr);
    EXPECT_EQ(toolbar_icon_size(15), 0u);
}

TEST(ToolbarIcons, EachStreamHoldsExactlyTheExpectedChunks) {
    for (int n = 0; n < 15; ++n) {
        SCOPED_TRACE(n);
        const std::vector<PngChunk> chunks = png_chunks(icon(n));
        ASSERT_EQ(chunks.size(), 5u);
        EXPECT_EQ(chunks[0].type, "IHDR");
        EXPECT_EQ(chunks[1].type, "gAMA");
        EXPECT_EQ(chunks[1].data, (Bytes{0, 0, 0xAF, 0xC8}));  // 45000
        EXPECT_EQ(chunks[2].type, "tEXt");
        const std::string text(chunks[2].data.begin(), chunks[2].data.end());
        EXPECT_EQ(text, std::string("Software\0Tunelathe icon generator", 33));
        EXPECT_EQ(chunks[3].type, "IDAT");
        EXPECT_EQ(chunks[4].type, "IEND");
        const PngHeader header = png_header(icon(n));
        EXPECT_EQ(header.width, 16);
        EXPECT_EQ(header.height, 16);
        EXPECT_EQ(header.bit_depth, 8);
        EXPECT_EQ(header.interlace, 0);
        EXPECT_EQ(header.colour_type, n == 9 ? 4 : 6);  // the stop sign is grey with alpha
    }
}

TEST(ToolbarIcons, EachDecodesToAPictureWithTransparentSurroundings) {
    image_decoder_png_register();
    for (int n = 0; n < 15; ++n) {
        SCOPED_TRACE(n);
        const Bytes png = icon(n);
        DecodeContext& context = decode_context();
        ASSERT_TRUE(decode_start(context, png.data(), png.size()));
        EXPECT_EQ(context.width, 16);
        EXPECT_EQ(context.height, 16);
        EXPECT_EQ(context.depth, 32);
        Bytes rows(16 * 64);
        ASSERT_TRUE(context.decoder->read(context, rows.data(), 64, DECODE_BOTTOM_UP));
        context.decoder->close(context);
        int transparent = 0;
        int opaque = 0;
        for (std::size_t i = 3; i < rows.size(); i += 4) {
            transparent += rows[i] == 0;
            opaque += rows[i] == 255;
        }
        // A drawn picture, not an empty or a filled square.
        EXPECT_GE(opaque, 40);
        EXPECT_GE(transparent, 8);
    }
}

}  // namespace
