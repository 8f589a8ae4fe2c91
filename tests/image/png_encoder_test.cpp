#include <gtest/gtest.h>

#include "png_test_support.h"
#include "runtime/image/image.h"
#include "runtime/image/image_codecs.h"

namespace {

// A bottom-up DIB-like picture with padded rows and varied pixels.
struct Dib {
    int width, height, depth;
    std::size_t pitch;
    Bytes rows;
};

Dib make_dib(int width, int height, int depth) {
    Dib dib{width, height, depth, image_row_pitch(width, depth), {}};
    dib.rows.assign(dib.pitch * static_cast<std::size_t>(height), 0xEE);  // padding stays 0xEE
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < depth / 8; ++c)
                dib.rows[static_cast<std::size_t>(y) * dib.pitch + static_cast<std::size_t>(x * (depth / 8) + c)] =
                    static_cast<unsigned char>(x * 37 + y * 11 + c * 71);
    return dib;
}

class PngEncoder : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        image_decoder_png_register();
        image_encoder_png_register();
    }
};

TEST_F(PngEncoder, DibRowsSurviveEncodingAndDecoding) {
    const ImageEncoder* encoder = image_encoder_find(IMAGE_TAG_PNG);
    ASSERT_NE(encoder, nullptr);
    for (int depth : {24, 32}) {
        SCOPED_TRACE(depth);
        const Dib dib = make_dib(13, 7, depth);
        Bytes png;
        ASSERT_TRUE((depth == 24 ? encoder->write24 : encoder->write32)(dib.rows.data(), dib.pitch, dib.width,
                                                                         dib.height, png));
        const PngHeader header = png_header(png);
        EXPECT_EQ(header.colour_type, depth == 24 ? 2 : 6);
        EXPECT_EQ(header.width, 13);
        EXPECT_EQ(header.height, 7);
        const Decoded decoded = decode(png);
        ASSERT_TRUE(decoded.read);
        EXPECT_EQ(decoded.depth, depth);
        EXPECT_TRUE(same_pixels(decoded.pixels, pixels_from_rows(dib.rows.data(), dib.pitch, 13, 7, depth, true)));
    }
}

TEST_F(PngEncoder, RefusesRowsShorterThanTheImage) {
    const ImageEncoder* encoder = image_encoder_find(IMAGE_TAG_PNG);
    ASSERT_NE(encoder, nullptr);
    const Dib dib = make_dib(8, 2, 32);
    Bytes png{1, 2, 3};
    EXPECT_FALSE(encoder->write32(dib.rows.data(), dib.pitch - 4, 8, 2, png));
    EXPECT_TRUE(png.empty());
    EXPECT_FALSE(encoder->write24(dib.rows.data(), dib.pitch, 0, 2, png));
}

TEST_F(PngEncoder, RegisteringTwiceKeepsOneEncoderAndOneDecoder) {
    const ImageEncoder* first = image_encoder_find(IMAGE_TAG_PNG);
    const int decoders = image_decoder_count();
    image_encoder_png_register();
    image_decoder_png_register();
    EXPECT_EQ(image_encoder_find(IMAGE_TAG_PNG), first);
    EXPECT_EQ(image_decoder_count(), decoders);
    EXPECT_GE(decoders, 1);
}

}  // namespace
