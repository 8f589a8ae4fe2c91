// image_catch on real GDI objects: decoded images as DIB sections, icons, and
// the choice among the three kinds of data. What every back end does alike is
// in ../image_catch_test.cpp.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "resources/toolbar_icons.h"
#include "runtime/image/image.h"
#include "runtime/image/image_codecs.h"
#include "test_images.h"
#include "tests/image/native_image_probe.h"

namespace {

// A decoder of the test's own that accepts only data carrying its marker, to
// show when image_catch consults the decoders.
constexpr char marker[] = "TEST-IMAGE";
constexpr std::uint32_t test_tag = image_tag('T', 'E', 'S', 'T');
int test_probes = 0;

bool test_probe(DecodeContext& context) {
    ++test_probes;
    const auto* end = context.data + std::min<std::size_t>(context.size, 64);
    if (std::search(context.data, end, marker, marker + sizeof marker - 1) == end) return false;
    context.width = 2;
    context.height = 3;
    context.depth = 32;
    context.source_depth = 7;
    return true;
}

bool test_read(DecodeContext& context, unsigned char* pixels, std::size_t pitch, int) {
    for (int y = 0; y < context.height; ++y) std::memset(pixels + static_cast<std::size_t>(y) * pitch, 0x42, 8);
    return true;
}

void test_close(DecodeContext&) {}

class ImageCatch : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(image_init());
        image_decoder_png_register();
        image_decoder_add(ImageDecoder{test_probe, test_read, test_close, test_tag});
    }
    void TearDown() override { image_free_all(); }
};

// The images are DIB sections the program can draw and read row by row; their
// size and pixels are checked in ../image_catch_test.cpp.
TEST_F(ImageCatch, TheFifteenEmbeddedIconsBecomeBottomUpSections) {
    for (int n = 0; n < 15; ++n) {
        SCOPED_TRACE(n);
        DIBSECTION dib{};
        const auto section = reinterpret_cast<HBITMAP>(image_catch(n, toolbar_icon_data(n)));
        ASSERT_EQ(GetObjectW(section, sizeof dib, &dib), static_cast<int>(sizeof dib));
        EXPECT_EQ(dib.dsBmih.biHeight, 16);  // positive: bottom-up
        EXPECT_EQ(dib.dsBmih.biCompression, static_cast<DWORD>(BI_RGB));
    }
}

TEST_F(ImageCatch, DataStartingWithBMIsAlwaysABitmapFile) {
    // Broken bitmap file data that the test decoder would accept.
    Bytes broken{'B', 'M'};
    broken.insert(broken.end(), marker, marker + sizeof marker - 1);
    broken.resize(80, 0);
    test_probes = 0;
    EXPECT_EQ(image_catch(10, broken.data(), broken.size()), 0);
    EXPECT_EQ(test_probes, 0);

    // A good bitmap file with the marker among its pixels is still a bitmap.
    Bytes pixels(8, 0);
    Bytes with_marker = bmp_file(2, 1, 32, {}, pixels);
    with_marker.insert(with_marker.end(), marker, marker + sizeof marker - 1);
    ASSERT_NE(image_catch(10, with_marker.data(), with_marker.size()), 0);
    EXPECT_EQ(image_record(10).tag, IMAGE_TAG_BMP);
    EXPECT_EQ(test_probes, 0);
}

TEST_F(ImageCatch, AnIconDirectoryThatMakesNoIconGoesToTheDecoders) {
    // One entry whose image lies far beyond the data.
    const unsigned char directory[] = {0, 0, 1, 0, 1, 0, 16, 16, 0, 0, 1, 0, 32, 0, 0x28, 0, 0, 0, 0, 0, 0, 1};
    Bytes data(sizeof directory + sizeof marker - 1);
    std::memcpy(data.data(), directory, sizeof directory);
    std::memcpy(data.data() + sizeof directory, marker, sizeof marker - 1);
    ASSERT_NE(image_catch(11, data.data(), data.size()), 0);
    const ImageRecord record = image_record(11);
    EXPECT_EQ(record.tag, test_tag);
    EXPECT_EQ(record.width, 2);
    EXPECT_EQ(record.height, 3);
    EXPECT_EQ(record.depth, 32);
    EXPECT_EQ(record.source_depth, 7);
    EXPECT_EQ(native_pixels(record.handle).bgra, Bytes(24, 0x42));
}

}  // namespace
