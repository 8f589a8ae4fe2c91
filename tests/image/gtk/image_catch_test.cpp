// image_catch on GTK: the images are pixbufs, with an alpha channel exactly
// where the PNG has transparency. What every back end does alike is in
// ../image_catch_test.cpp.
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtest/gtest.h>

#include <string>

#include "resources/toolbar_icons.h"
#include "runtime/image/image.h"
#include "tests/image/png_test_support.h"

namespace {

GdkPixbuf* pixbuf(std::intptr_t handle) { return reinterpret_cast<GdkPixbuf*>(handle); }

class PixbufImages : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(image_init());
        image_decoder_png_register();
    }
    void TearDown() override { image_free_all(); }
};

TEST_F(PixbufImages, EveryPngSuiteImageIsAPixbufWithAlphaWhereThePngHasIt) {
    for (const std::string& name : pngsuite_names()) {
        if (name[0] == 'x') continue;  // the suite's deliberately corrupt files
        SCOPED_TRACE(name);
        const Bytes png = read_file(pngsuite_path(name));
        const std::intptr_t handle = image_catch(20, png.data(), png.size());
        ASSERT_NE(handle, 0);
        ASSERT_TRUE(GDK_IS_PIXBUF(pixbuf(handle)));
        const PngHeader header = png_header(png);
        EXPECT_EQ(gdk_pixbuf_get_has_alpha(pixbuf(handle)),
                  header.transparency || header.colour_type == 4 || header.colour_type == 6);
        EXPECT_EQ(gdk_pixbuf_get_width(pixbuf(handle)), static_cast<int>(header.width));
        EXPECT_EQ(gdk_pixbuf_get_height(pixbuf(handle)), static_cast<int>(header.height));
    }
}

TEST_F(PixbufImages, TheFifteenEmbeddedIconsAre16By16PixbufsWithAlpha) {
    for (int n = 0; n < 15; ++n) {
        SCOPED_TRACE(n);
        const std::intptr_t handle = image_catch(n, toolbar_icon_data(n));
        ASSERT_NE(handle, 0);
        EXPECT_EQ(gdk_pixbuf_get_width(pixbuf(handle)), 16);
        EXPECT_EQ(gdk_pixbuf_get_height(pixbuf(handle)), 16);
        EXPECT_TRUE(gdk_pixbuf_get_has_alpha(pixbuf(handle)));
    }
}

}  // namespace
