#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "png_test_support.h"
#include "runtime/image/image.h"
#include "runtime/image/image_codecs.h"
#include "runtime/image/png_decoder.h"

#if defined(__SANITIZE_ADDRESS__)
// No allocation in these tests may exceed 256 MB; AddressSanitizer stops the
// program at a larger one, which here means a declared length was believed.
extern "C" const char* __asan_default_options() { return "max_allocation_size_mb=256"; }
#endif

namespace {

class PngDecoder : public ::testing::Test {
protected:
    static void SetUpTestSuite() { image_decoder_png_register(); }
};

TEST_F(PngDecoder, DepthsFollowColourTypeAndTransparency) {
    struct Case {
        const char* name;
        int depth;
        int source_depth;
    };
    const Case cases[] = {
        {"basn2c08.png", 24, 24},   // RGB
        {"basn2c16.png", 24, 24},   // RGB, 16 bits per sample
        {"ftbrn2c08.png", 32, 32},  // RGB with tRNS
        {"basn6a08.png", 32, 32},   // RGBA
        {"basn0g01.png", 24, 1},    // grey, widened to RGB
        {"basn0g16.png", 24, 16},
        {"ftbbn0g01.png", 32, 8},   // grey with tRNS: grey with alpha, samples already widened
        {"basn3p04.png", 24, 4},    // palette
        {"ftbbn3p08.png", 32, 32},  // palette with tRNS: RGBA
        {"basn4a08.png", 32, 8},    // grey with alpha
        {"basn4a16.png", 32, 16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Decoded decoded = decode(read_file(pngsuite_path(c.name)));
        ASSERT_TRUE(decoded.read);
        EXPECT_EQ(decoded.tag, IMAGE_TAG_PNG);
        EXPECT_EQ(decoded.depth, c.depth);
        EXPECT_EQ(decoded.source_depth, c.source_depth);
    }
}

TEST_F(PngDecoder, GreyWithAlphaGivesThreeEqualColourBytes) {
    for (const char* name : {"basn4a08.png", "basn4a16.png"}) {
        SCOPED_TRACE(name);
        const Decoded decoded = decode(read_file(pngsuite_path(name)));
        ASSERT_TRUE(decoded.read);
        bool translucent = false;
        const auto& bgra = decoded.pixels.bgra;
        for (std::size_t i = 0; i < bgra.size(); i += 4) {
            ASSERT_EQ(bgra[i], bgra[i + 1]);
            ASSERT_EQ(bgra[i], bgra[i + 2]);
            translucent = translucent || (bgra[i + 3] != 0 && bgra[i + 3] != 255);
        }
        EXPECT_TRUE(translucent);  // the alpha channel really came through
    }
}

TEST_F(PngDecoder, InterlacedImagesEqualTheirNonInterlacedTwins) {
    int pairs = 0;
    for (const std::string& name : pngsuite_names()) {
        std::string twin;
        if (name.rfind("interlaced-i", 0) == 0) twin = name.substr(12);
        else if (name[0] == 'i') twin = name.substr(1);
        else continue;
        SCOPED_TRACE(name);
        const Bytes interlaced = read_file(pngsuite_path(name));
        if (png_header(interlaced).interlace != 1) continue;  // a few i* files are not interlaced
        const Decoded a = decode(interlaced);
        const Decoded b = decode(read_file(pngsuite_path(twin)));
        ASSERT_TRUE(a.read && b.read);
        EXPECT_EQ(a.depth, b.depth);
        EXPECT_TRUE(same_pixels(a.pixels, b.pixels));
        ++pairs;
    }
    EXPECT_GE(pairs, 27);
}

TEST_F(PngDecoder, RowsGoTopDownUnlessAskedForBottomUp) {
    const Bytes png = read_file(pngsuite_path("basn6a08.png"));
    const Decoded bottom_up = decode(png.data(), png.size(), DECODE_BOTTOM_UP);
    const Decoded top_down = decode(png.data(), png.size(), 0);
    ASSERT_TRUE(bottom_up.read && top_down.read);
    // pixels_from_rows undid each order, so both read the same picture.
    EXPECT_TRUE(same_pixels(bottom_up.pixels, top_down.pixels));
    Pixels expected;
    ASSERT_TRUE(reference_decode(png, expected));
    EXPECT_TRUE(same_pixels(top_down.pixels, expected));
}

TEST_F(PngDecoder, ShortOrForeignDataIsRejectedBeforeLibpng) {
    const Bytes png = read_file(pngsuite_path("basn2c08.png"));
    for (std::size_t size = 0; size < 8; ++size) EXPECT_FALSE(decode(png.data(), size).probed) << size;
    Bytes wrong_signature = png;
    wrong_signature[1] = 'p';
    EXPECT_FALSE(decode(wrong_signature).probed);
    const char text[] = "GIF89a, certainly not a PNG";
    EXPECT_FALSE(decode(reinterpret_cast<const unsigned char*>(text), sizeof text).probed);
}

TEST_F(PngDecoder, TruncatedStreamsFailAtEveryCut) {
    // Cut inside the signature's check, IHDR, the ancillary chunks and IDAT;
    // each stream lies in a block of exactly that size, so that any read
    // beyond it would be caught by AddressSanitizer.
    const Bytes png = read_file(pngsuite_path("basn6a08.png"));
    const std::size_t idat_end = png.size() - 12;  // IEND is all that follows
    for (std::size_t size = 8; size < idat_end; size += (size < 64 ? 1 : 97)) {
        auto block = std::make_unique<unsigned char[]>(size);
        std::memcpy(block.get(), png.data(), size);
        const Decoded decoded = decode(block.get(), size);
        EXPECT_FALSE(decoded.probed && decoded.read) << "cut at " << size;
    }
}

TEST_F(PngDecoder, NeverReadsBeyondTheGivenSize) {
    // The whole stream is in memory, but the size given stops inside IDAT:
    // the decode must fail rather than help itself to the bytes after.
    const Bytes png = read_file(pngsuite_path("basn2c08.png"));
    const Decoded decoded = decode(png.data(), png.size() / 2);
    EXPECT_TRUE(decoded.probed);
    EXPECT_FALSE(decoded.read);
    // The stream never needs its IEND chunk, so without it the image is whole.
    const Decoded without_end = decode(png.data(), png.size() - 12);
    EXPECT_TRUE(without_end.read);
}

TEST_F(PngDecoder, CorruptedStreamsFail) {
    static const char idat_type[] = "IDAT";
    const Bytes png = read_file(pngsuite_path("basn6a08.png"));
    const std::vector<PngChunk> chunks = png_chunks(png);
    ASSERT_EQ(chunks[0].type, "IHDR");
    Bytes bad_header_crc = png;
    bad_header_crc[8 + 8 + 13] ^= 0xFF;  // IHDR's CRC
    EXPECT_FALSE(decode(bad_header_crc).probed);
    Bytes bad_width = png;
    std::memset(&bad_width[16], 0, 4);  // width 0 (CRC no longer matches either)
    EXPECT_FALSE(decode(bad_width).probed);
    Bytes bad_pixels = png;
    const auto idat = static_cast<std::size_t>(std::search(png.begin(), png.end(), idat_type, idat_type + 4) - png.begin()) + 4;
    ASSERT_LT(idat + 40, png.size());
    for (std::size_t i = idat + 20; i < idat + 40; ++i) bad_pixels[i] ^= 0x5A;
    const Decoded decoded = decode(bad_pixels);
    EXPECT_TRUE(decoded.probed);
    EXPECT_FALSE(decoded.read);
}

TEST_F(PngDecoder, AChunkClaimingMoreThanTheDataMakesNoAllocation) {
    // A tEXt chunk of 2 GB declared before IDAT, in a stream of 200 bytes.
    const Bytes png = read_file(pngsuite_path("basn2c08.png"));
    const std::vector<PngChunk> chunks = png_chunks(png);
    ASSERT_EQ(chunks[0].type, "IHDR");
    const std::size_t after_header = 8 + 12 + chunks[0].data.size();
    Bytes forged(png.begin(), png.begin() + static_cast<long>(after_header));
    forged.insert(forged.end(), {0x7E, 0, 0, 0, 't', 'E', 'X', 't', 'a', 'b', 'c'});
    forged.insert(forged.end(), png.begin() + static_cast<long>(after_header), png.end());
    const Decoded decoded = decode(forged);
    EXPECT_FALSE(decoded.probed && decoded.read);
}

TEST_F(PngDecoder, AFailedReadFreesLibpngsStateEvenWithoutClose) {
    // Under LeakSanitizer a read state left behind fails the test run.
    const Bytes png = read_file(pngsuite_path("basn2c08.png"));
    DecodeContext& context = decode_context();
    ASSERT_TRUE(decode_start(context, png.data(), png.size() / 2));
    std::vector<unsigned char> rows(image_row_pitch(context.width, context.depth) *
                                    static_cast<std::size_t>(context.height));
    EXPECT_FALSE(context.decoder->read(context, rows.data(), image_row_pitch(context.width, context.depth),
                                       DECODE_BOTTOM_UP));
    // No close here on purpose; decode() above closes after failed reads,
    // which AddressSanitizer checks is harmless.
}

TEST_F(PngDecoder, RowsTooNarrowForTheImageAreRefused) {
    const Bytes png = read_file(pngsuite_path("basn6a08.png"));
    DecodeContext& context = decode_context();
    ASSERT_TRUE(decode_start(context, png.data(), png.size()));
    const std::size_t pitch = image_row_pitch(context.width, context.depth);
    std::vector<unsigned char> rows(pitch * static_cast<std::size_t>(context.height));
    EXPECT_FALSE(context.decoder->read(context, rows.data(), pitch - 4, DECODE_BOTTOM_UP));
    context.decoder->close(context);
}

}  // namespace
