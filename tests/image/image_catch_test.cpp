// image_catch on every back end: PNG data through the decoders into real
// native images with the pixels libpng reads, with alpha exactly where the
// PNG has transparency, and the image table's bookkeeping of numbers,
// replacing, failures and freeing.
#include <gtest/gtest.h>

#include <string>

#include "resources/toolbar_icons.h"
#include "runtime/image/image.h"
#include "tests/image/native_image_probe.h"
#include "tests/image/png_test_support.h"

namespace {

class ImageTable : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(image_init());
        image_decoder_png_register();
    }
    void TearDown() override { image_free_all(); }
    static Bytes suite(const char* name) { return read_file(pngsuite_path(name)); }
};

TEST_F(ImageTable, EveryPngSuiteImageBecomesTheImageLibpngReads) {
    int compared = 0;
    for (const std::string& name : pngsuite_names()) {
        SCOPED_TRACE(name);
        const Bytes png = read_file(pngsuite_path(name));
        ASSERT_FALSE(png.empty());
        const std::intptr_t handle = image_catch(20, png.data(), png.size());
        if (name[0] == 'x') {  // the suite's deliberately corrupt files
            EXPECT_EQ(handle, 0);
            continue;
        }
        ASSERT_NE(handle, 0);
        const ImageRecord record = image_record(20);
        EXPECT_EQ(record.handle, handle);
        EXPECT_EQ(record.tag, IMAGE_TAG_PNG);
        const PngHeader header = png_header(png);
        const bool has_alpha = header.transparency || header.colour_type == 4 || header.colour_type == 6;
        EXPECT_EQ(record.depth, has_alpha ? 32 : 24);
        ASSERT_EQ(native_depth(handle), record.depth);
        EXPECT_EQ(record.width, header.width);
        EXPECT_EQ(record.height, header.height);
        Pixels expected;
        ASSERT_TRUE(reference_decode(png, expected));
        EXPECT_TRUE(same_pixels(native_pixels(handle), expected));
        ++compared;
    }
    // The tarball's suite: basic, transparent and interlaced images.
    EXPECT_GE(compared, 60);
}

TEST_F(ImageTable, TheFifteenEmbeddedIconsBecome16PixelImagesWithTheir32PixelDoublePictures) {
    ASSERT_EQ(toolbar_icon_count(), 15);
    for (int n = 0; n < 15; ++n) {
        SCOPED_TRACE(n);
        const std::intptr_t handle = image_catch(n, toolbar_icon_data(n));  // no size, as the program calls it
        ASSERT_NE(handle, 0);
        const ImageRecord record = image_record(n);
        EXPECT_EQ(record.width, 16);
        EXPECT_EQ(record.height, 16);
        EXPECT_EQ(record.depth, 32);
        ASSERT_EQ(native_depth(handle), 32);
        EXPECT_EQ(record.tag, IMAGE_TAG_PNG);
        EXPECT_EQ(record.source_depth, n == 9 ? 8 : 32);  // the stop sign is grey with alpha
        Pixels expected;
        ASSERT_TRUE(reference_decode(Bytes(toolbar_icon_data(n), toolbar_icon_data(n) + toolbar_icon_size(n)), expected));
        EXPECT_TRUE(same_pixels(native_pixels(handle), expected));

        const std::intptr_t sharp = image_catch_double(n, toolbar_icon_32_data(n), toolbar_icon_32_size(n));
        ASSERT_NE(sharp, 0);
        const ImageRecord with_double = image_record(n);
        EXPECT_EQ(with_double.handle, handle);  // the image itself stays as it was
        EXPECT_EQ(with_double.width, 16);
        EXPECT_EQ(with_double.double_handle, sharp);
        EXPECT_EQ(image_double_of(handle), sharp);
        const Bytes png(toolbar_icon_32_data(n), toolbar_icon_32_data(n) + toolbar_icon_32_size(n));
        ASSERT_TRUE(reference_decode(png, expected));
        EXPECT_TRUE(same_pixels(native_pixels(sharp), expected));
    }
}

TEST_F(ImageTable, ADoublePictureIsTakenOnlyAtTwiceTheSizeOfALiveImage) {
    const Bytes small = suite("basn6a08.png");  // 32 x 32
    const int before = native_alive();
    native_watch(image_catch(4, toolbar_icon_data(4), toolbar_icon_size(4)));
    EXPECT_EQ(image_catch_double(4, small.data(), small.size() / 2), 0);  // cut short
    EXPECT_EQ(image_catch_double(4, toolbar_icon_data(5), toolbar_icon_size(5)), 0);  // the same size
    EXPECT_EQ(image_catch_double(4, nullptr, 100), 0);
    EXPECT_EQ(image_record(4).double_handle, 0);
    EXPECT_EQ(image_double_of(image_record(4).handle), 0);
    EXPECT_EQ(native_alive(), before + 1);  // nothing refused stays behind
    EXPECT_EQ(image_catch_double(6, small.data(), small.size()), 0);  // no image there
    EXPECT_EQ(image_double_of(12345), 0);
}

TEST_F(ImageTable, ADoublePictureGoesWhenReplacedAndWithItsImage) {
    const int before = native_alive();
    native_watch(image_catch(2, toolbar_icon_data(2), toolbar_icon_size(2)));
    native_watch(image_catch_double(2, toolbar_icon_32_data(2), toolbar_icon_32_size(2)));
    const std::intptr_t second = image_catch_double(2, toolbar_icon_32_data(3), toolbar_icon_32_size(3));
    native_watch(second);
    EXPECT_EQ(native_alive(), before + 2);
    EXPECT_EQ(image_record(2).double_handle, second);
    image_free(2);
    EXPECT_EQ(native_alive(), before);
    // A number caught again loses the old image's double picture with it.
    native_watch(image_catch(2, toolbar_icon_data(2), toolbar_icon_size(2)));
    native_watch(image_catch_double(2, toolbar_icon_32_data(2), toolbar_icon_32_size(2)));
    native_watch(image_catch(2, toolbar_icon_data(2), toolbar_icon_size(2)));
    EXPECT_EQ(native_alive(), before + 1);
    EXPECT_EQ(image_record(2).double_handle, 0);
}

TEST_F(ImageTable, ReusingANumberReleasesThePreviousImageAndAFailureLeavesNone) {
    const Bytes first = suite("basn2c08.png");
    const Bytes png = suite("basn6a08.png");
    const int before = native_alive();
    native_watch(image_catch(7, first.data(), first.size()));
    const std::intptr_t replacing = image_catch(7, png.data(), png.size());
    ASSERT_NE(replacing, 0);
    native_watch(replacing);
    EXPECT_EQ(native_alive(), before + 1);
    EXPECT_EQ(image_record(7).handle, replacing);
    // Truncated inside IDAT: probe accepts, the read fails.
    EXPECT_EQ(image_catch(7, png.data(), png.size() / 2), 0);
    EXPECT_EQ(image_record(7).handle, 0);
    EXPECT_EQ(native_alive(), before);
    // Shorter than a signature: rejected before libpng.
    EXPECT_EQ(image_catch(8, png.data(), 7), 0);
    EXPECT_EQ(image_record(8).handle, 0);
    EXPECT_EQ(image_catch(9, nullptr, 100), 0);
    const char text[] = "neither bitmap, icon nor PNG";
    EXPECT_EQ(image_catch(DYNAMIC_ID, text, sizeof text), 0);
}

TEST_F(ImageTable, DynamicNumbersAreMadeUpAndFreedLikeOthersOneByOneOrAll) {
    const Bytes png = suite("basn6a08.png");
    const int before = native_alive();
    const std::intptr_t number = image_catch(DYNAMIC_ID, png.data(), png.size());
    ASSERT_NE(number, 0);
    const ImageRecord record = image_record(number);
    ASSERT_NE(record.handle, 0);
    EXPECT_NE(record.handle, number);  // the number is the record's, not the native image
    native_watch(record.handle);
    EXPECT_EQ(native_alive(), before + 1);
    image_free(number);
    EXPECT_EQ(native_alive(), before);
    EXPECT_EQ(image_record(number).handle, 0);

    native_watch(image_catch(3, png.data(), png.size()));
    native_watch(image_catch(40, png.data(), png.size()));  // beyond the first 16 slots
    native_watch(image_record(image_catch(DYNAMIC_ID, png.data(), png.size())).handle);
    EXPECT_EQ(native_alive(), before + 3);
    image_free(-1);
    EXPECT_EQ(native_alive(), before);
    EXPECT_EQ(image_record(3).handle, 0);
    image_free(3);  // nothing there any more: does nothing
}

}  // namespace
