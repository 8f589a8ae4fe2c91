// image_catch on GTK: PNG data through the decoders into real GdkPixbufs,
// and the image table's bookkeeping.
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtest/gtest.h>

#include <string>

#include "resources/toolbar_icons.h"
#include "runtime/image/image.h"
#include "tests/image/png_test_support.h"

namespace {

GdkPixbuf* pixbuf(std::intptr_t handle) { return reinterpret_cast<GdkPixbuf*>(handle); }

// The pixbuf's R, G, B[, A] rows as the tests' B, G, R, A pixels.
Pixels pixbuf_pixels(GdkPixbuf* image) {
    Pixels pixels;
    pixels.width = gdk_pixbuf_get_width(image);
    pixels.height = gdk_pixbuf_get_height(image);
    const int channels = gdk_pixbuf_get_n_channels(image);
    const guchar* data = gdk_pixbuf_read_pixels(image);
    const auto pitch = static_cast<std::size_t>(gdk_pixbuf_get_rowstride(image));
    for (int y = 0; y < pixels.height; ++y) {
        const guchar* row = data + static_cast<std::size_t>(y) * pitch;
        for (int x = 0; x < pixels.width; ++x) {
            const guchar* p = row + x * channels;
            pixels.bgra.insert(pixels.bgra.end(), {p[2], p[1], p[0], channels == 4 ? p[3] : guchar{255}});
        }
    }
    return pixels;
}

// Counts the pixbufs alive, to see that freeing really lets them go.
int alive = 0;
void count_gone(gpointer, GObject*) { --alive; }
void watch(std::intptr_t handle) {
    ++alive;
    g_object_weak_ref(G_OBJECT(pixbuf(handle)), count_gone, nullptr);
}

class ImageCatch : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(image_init());
        image_decoder_png_register();
    }
    void TearDown() override { image_free_all(); }
    static Bytes suite(const char* name) { return read_file(pngsuite_path(name)); }
};

TEST_F(ImageCatch, EveryPngSuiteImageBecomesThePixbufLibpngReads) {
    int compared = 0;
    for (const std::string& name : pngsuite_names()) {
        SCOPED_TRACE(name);
        const Bytes png = read_file(pngsuite_path(name));
        const std::intptr_t handle = image_catch(20, png.data(), png.size());
        if (name[0] == 'x') {  // the suite's deliberately corrupt files
            EXPECT_EQ(handle, 0);
            continue;
        }
        ASSERT_NE(handle, 0);
        ASSERT_TRUE(GDK_IS_PIXBUF(pixbuf(handle)));
        const ImageRecord record = image_record(20);
        EXPECT_EQ(record.handle, handle);
        EXPECT_EQ(record.tag, IMAGE_TAG_PNG);
        const PngHeader header = png_header(png);
        const bool has_alpha = header.transparency || header.colour_type == 4 || header.colour_type == 6;
        EXPECT_EQ(record.depth, has_alpha ? 32 : 24);
        EXPECT_EQ(gdk_pixbuf_get_has_alpha(pixbuf(handle)), has_alpha);
        EXPECT_EQ(record.width, header.width);
        EXPECT_EQ(record.height, header.height);
        Pixels expected;
        ASSERT_TRUE(reference_decode(png, expected));
        EXPECT_TRUE(same_pixels(pixbuf_pixels(pixbuf(handle)), expected));
        ++compared;
    }
    EXPECT_GE(compared, 60);
}

TEST_F(ImageCatch, TheFifteenEmbeddedIconsBecome16By16PixbufsWithAlpha) {
    ASSERT_EQ(toolbar_icon_count(), 15);
    for (int n = 0; n < 15; ++n) {
        SCOPED_TRACE(n);
        const std::intptr_t handle = image_catch(n, toolbar_icon_data(n));  // no size, as the program calls it
        ASSERT_NE(handle, 0);
        EXPECT_EQ(gdk_pixbuf_get_width(pixbuf(handle)), 16);
        EXPECT_EQ(gdk_pixbuf_get_height(pixbuf(handle)), 16);
        EXPECT_TRUE(gdk_pixbuf_get_has_alpha(pixbuf(handle)));
        EXPECT_EQ(image_record(n).source_depth, n == 9 ? 8 : 32);  // the stop sign is grey with alpha
        const Bytes png(toolbar_icon_data(n), toolbar_icon_data(n) + toolbar_icon_size(n));
        Pixels expected;
        ASSERT_TRUE(reference_decode(png, expected));
        EXPECT_TRUE(same_pixels(pixbuf_pixels(pixbuf(handle)), expected));
    }
}

TEST_F(ImageCatch, ReusingANumberAndFreeingReleaseThePixbufs) {
    const Bytes png = suite("basn6a08.png");
    watch(image_catch(5, png.data(), png.size()));
    watch(image_catch(5, png.data(), png.size()));
    EXPECT_EQ(alive, 1);
    const std::intptr_t number = image_catch(DYNAMIC_ID, png.data(), png.size());
    ASSERT_NE(number, 0);
    EXPECT_NE(image_record(number).handle, number);  // the number is the record's, not the pixbuf
    watch(image_record(number).handle);
    watch(image_catch(40, png.data(), png.size()));  // beyond the first 16 slots
    EXPECT_EQ(alive, 3);
    image_free(number);
    EXPECT_EQ(alive, 2);
    EXPECT_EQ(image_record(number).handle, 0);
    image_free(-1);
    EXPECT_EQ(alive, 0);
    EXPECT_EQ(image_record(5).handle, 0);
}

TEST_F(ImageCatch, AFailureLeavesNothingUnderTheNumber) {
    const Bytes png = suite("basn6a08.png");
    ASSERT_NE(image_catch(7, png.data(), png.size()), 0);
    // Truncated inside IDAT: probe accepts, the read fails.
    EXPECT_EQ(image_catch(7, png.data(), png.size() / 2), 0);
    EXPECT_EQ(image_record(7).handle, 0);
    EXPECT_EQ(image_catch(8, png.data(), 7), 0);
    EXPECT_EQ(image_catch(9, nullptr, 100), 0);
    const char text[] = "no PNG";
    EXPECT_EQ(image_catch(DYNAMIC_ID, text, sizeof text), 0);
}

}  // namespace
