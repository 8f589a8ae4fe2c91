// Bitmap files through image_catch: the pixels GDI converts, the alpha rule
// for 32-bit files, and files that claim more than they hold.
#include <gtest/gtest.h>

#include <windows.h>

#include "runtime/image/image.h"
#include "test_images.h"

namespace {

HBITMAP bitmap(std::intptr_t handle) { return reinterpret_cast<HBITMAP>(handle); }

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

Pixels top_down(const Bytes& bottom_up_bgra) {
    return pixels_from_rows(bottom_up_bgra.data(), 12, 3, 2, 32, true);
}

TEST_F(BitmapFile, A32BitFileWithoutAlphaBecomesOpaque) {
    const Bytes file = bmp_file(3, 2, 32, {}, bgra_rows);
    const std::intptr_t handle = image_catch(0, file.data(), file.size());
    ASSERT_NE(handle, 0);
    const ImageRecord record = image_record(0);
    EXPECT_EQ(record.tag, IMAGE_TAG_BMP);
    EXPECT_EQ(record.depth, 32);
    EXPECT_EQ(record.source_depth, 32);
    EXPECT_EQ(record.width, 3);
    EXPECT_EQ(record.height, 2);
    Bytes opaque = bgra_rows;
    for (std::size_t i = 3; i < opaque.size(); i += 4) opaque[i] = 255;
    EXPECT_TRUE(same_pixels(section_pixels(bitmap(handle)), top_down(opaque)));
}

TEST_F(BitmapFile, A32BitFileWithAnyAlphaKeepsItUnchanged) {
    Bytes rows = bgra_rows;
    rows[7] = 0x80;  // one half-transparent pixel; the others stay at 0
    const Bytes file = bmp_file(3, 2, 32, {}, rows);
    const std::intptr_t handle = image_catch(0, file.data(), file.size());
    ASSERT_NE(handle, 0);
    EXPECT_TRUE(same_pixels(section_pixels(bitmap(handle)), top_down(rows)));
}

TEST_F(BitmapFile, SmallerDepthsBecome24BitSections) {
    // 24-bit: three pixels of 3 bytes, rows padded to 12 bytes.
    const Bytes rgb_rows = {10, 20, 30, 40, 50, 60, 70, 80, 90, 0, 0, 0,
                            1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0};
    const Bytes rgb_file = bmp_file(3, 2, 24, {}, rgb_rows);
    const std::intptr_t rgb = image_catch(1, rgb_file.data(), rgb_file.size());
    ASSERT_NE(rgb, 0);
    EXPECT_EQ(image_record(1).depth, 24);
    EXPECT_EQ(image_record(1).source_depth, 24);
    EXPECT_TRUE(same_pixels(section_pixels(bitmap(rgb)), pixels_from_rows(rgb_rows.data(), 12, 3, 2, 24, true)));

    // 8-bit with a palette: the section holds the palette's colours.
    const std::vector<std::uint32_t> palette = {0x112233, 0xAABBCC};
    const Bytes index_rows = {1, 0, 1, 0, 0, 1, 0, 0};
    const Bytes indexed_file = bmp_file(3, 2, 8, palette, index_rows);
    const std::intptr_t indexed = image_catch(2, indexed_file.data(), indexed_file.size());
    ASSERT_NE(indexed, 0);
    EXPECT_EQ(image_record(2).depth, 24);
    EXPECT_EQ(image_record(2).source_depth, 8);
    const Bytes expected_rows = {0xCC, 0xBB, 0xAA, 0x33, 0x22, 0x11, 0xCC, 0xBB, 0xAA, 0, 0, 0,
                                 0x33, 0x22, 0x11, 0xCC, 0xBB, 0xAA, 0x33, 0x22, 0x11, 0, 0, 0};
    EXPECT_TRUE(same_pixels(section_pixels(bitmap(indexed)), pixels_from_rows(expected_rows.data(), 12, 3, 2, 24, true)));
}

TEST_F(BitmapFile, ATopDownFileKeepsItsTopRowOnTop) {
    const Bytes file = bmp_file(3, -2, 32, {}, bgra_rows);  // first row in the file is the top one
    const std::intptr_t handle = image_catch(0, file.data(), file.size());
    ASSERT_NE(handle, 0);
    EXPECT_EQ(image_record(0).height, 2);
    Bytes opaque = bgra_rows;
    for (std::size_t i = 3; i < opaque.size(); i += 4) opaque[i] = 255;
    EXPECT_TRUE(same_pixels(section_pixels(bitmap(handle)), pixels_from_rows(opaque.data(), 12, 3, 2, 32, false)));
}

TEST_F(BitmapFile, FilesThatClaimMoreThanTheyHoldAreRefused) {
    const Bytes good = bmp_file(3, 2, 32, {}, bgra_rows);
    // The pixels end beyond the given size.
    EXPECT_EQ(image_catch(0, good.data(), good.size() - 1), 0);
    // More rows than the data holds.
    Bytes tall = good;
    tall[22] = 200;
    EXPECT_EQ(image_catch(0, tall.data(), tall.size()), 0);
    // Pixel data said to start beyond the end.
    Bytes beyond = good;
    beyond[10] = 0xFF;
    beyond[11] = 0xFF;
    EXPECT_EQ(image_catch(0, beyond.data(), beyond.size()), 0);
    // A palette of more colours than the file holds.
    Bytes colours = bmp_file(3, 2, 8, {0x112233}, Bytes(8, 0));
    colours[46] = 0xFF;
    EXPECT_EQ(image_catch(0, colours.data(), colours.size()), 0);
    // No width; an old-style 12-byte header.
    Bytes narrow = good;
    narrow[18] = 0;
    EXPECT_EQ(image_catch(0, narrow.data(), narrow.size()), 0);
    Bytes core = good;
    core[14] = 12;
    EXPECT_EQ(image_catch(0, core.data(), core.size()), 0);
    EXPECT_EQ(image_record(0).handle, 0);
    // The untouched file works.
    EXPECT_NE(image_catch(0, good.data(), good.size()), 0);
}

}  // namespace
