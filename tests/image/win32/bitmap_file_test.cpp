// Bitmap files through image_catch: the pixels GDI converts, the alpha rule
// for 32-bit files, and files that claim more than they hold.
#include <gtest/gtest.h>

#include <windows.h>

#include <initializer_list>
#include <utility>

#include "runtime/image/image.h"
#include "test_images.h"
#include "tests/image/native_image_probe.h"

namespace {

class BitmapFile : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(image_init()); }
    void TearDown() override { image_free_all(); }
};

// Three pixels wide, two high, bottom row first: B, G, R, A each.
const Bytes bgra_rows = {
    10, 20, 30, 0,  40, 50, 60, 0,  70, 80, 90, 0,     // bottom row
    1, 2, 3, 0,     4, 5, 6, 0,     7, 8, 9, 0,        // top row
};

Bytes opaque(Bytes bgra) {
    for (std::size_t i = 3; i < bgra.size(); i += 4) bgra[i] = 255;
    return bgra;
}

TEST_F(BitmapFile, EveryDepthBecomesASectionOfTheFilesPixels) {
    Bytes half_transparent = bgra_rows;
    half_transparent[7] = 0x80;  // one half-transparent pixel; the others stay at 0
    // 24-bit: three pixels of 3 bytes, rows padded to 12 bytes.
    const Bytes rgb_rows = {10, 20, 30, 40, 50, 60, 70, 80, 90, 0, 0, 0,
                            1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0};
    const Bytes palette_colours = {0xCC, 0xBB, 0xAA, 0x33, 0x22, 0x11, 0xCC, 0xBB, 0xAA, 0, 0, 0,
                                   0x33, 0x22, 0x11, 0xCC, 0xBB, 0xAA, 0x33, 0x22, 0x11, 0, 0, 0};
    struct Case {
        const char* what;
        Bytes file;
        int depth, source_depth;
        Pixels expected;
    };
    const Case cases[] = {
        {"32 bits without alpha become opaque", bmp_file(3, 2, 32, {}, bgra_rows), 32, 32,
         pixels_from_rows(opaque(bgra_rows).data(), 12, 3, 2, 32, true)},
        {"32 bits with any alpha keep it unchanged", bmp_file(3, 2, 32, {}, half_transparent), 32, 32,
         pixels_from_rows(half_transparent.data(), 12, 3, 2, 32, true)},
        {"24 bits", bmp_file(3, 2, 24, {}, rgb_rows), 24, 24, pixels_from_rows(rgb_rows.data(), 12, 3, 2, 24, true)},
        {"8 bits with a palette become its colours", bmp_file(3, 2, 8, {0x112233, 0xAABBCC}, {1, 0, 1, 0, 0, 1, 0, 0}),
         24, 8, pixels_from_rows(palette_colours.data(), 12, 3, 2, 24, true)},
        {"a top-down file keeps its top row on top", bmp_file(3, -2, 32, {}, bgra_rows), 32, 32,
         pixels_from_rows(opaque(bgra_rows).data(), 12, 3, 2, 32, false)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::intptr_t handle = image_catch(0, c.file.data(), c.file.size());
        ASSERT_NE(handle, 0);
        const ImageRecord record = image_record(0);
        EXPECT_EQ(record.tag, IMAGE_TAG_BMP);
        EXPECT_EQ(record.depth, c.depth);
        EXPECT_EQ(record.source_depth, c.source_depth);
        EXPECT_EQ(record.width, 3);
        EXPECT_EQ(record.height, 2);
        EXPECT_TRUE(same_pixels(native_pixels(handle), c.expected));
    }
}

TEST_F(BitmapFile, FilesThatClaimMoreThanTheyHoldAreRefused) {
    const Bytes good = bmp_file(3, 2, 32, {}, bgra_rows);
    const auto forged = [](Bytes file, std::initializer_list<std::pair<std::size_t, unsigned char>> changes) {
        for (const auto& [at, value] : changes) file[at] = value;
        return file;
    };
    const struct {
        const char* what;
        Bytes file;
    } refused[] = {
        {"the pixels end beyond the given size", Bytes(good.begin(), good.end() - 1)},
        {"more rows than the data holds", forged(good, {{22, 200}})},
        {"pixel data said to start beyond the end", forged(good, {{10, 0xFF}, {11, 0xFF}})},
        {"a palette of more colours than the file holds", forged(bmp_file(3, 2, 8, {0x112233}, Bytes(8, 0)), {{46, 0xFF}})},
        {"no width", forged(good, {{18, 0}})},
        {"an old-style 12-byte header", forged(good, {{14, 12}})},
    };
    for (const auto& forgery : refused) {
        EXPECT_EQ(image_catch(0, forgery.file.data(), forgery.file.size()), 0) << forgery.what;
        EXPECT_EQ(image_record(0).handle, 0) << forgery.what;
    }
    EXPECT_NE(image_catch(0, good.data(), good.size()), 0);  // the untouched file works
}

}  // namespace
