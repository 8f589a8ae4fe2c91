// Icon files through image_catch: which entry becomes the icon, and when it
// goes.
#include <gtest/gtest.h>

#include <windows.h>

#include "runtime/image/image.h"
#include "test_images.h"

namespace {

bool icon_alive(std::intptr_t handle) {
    ICONINFO info{};
    if (!GetIconInfo(reinterpret_cast<HICON>(handle), &info)) return false;
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return true;
}

class IconFile : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(image_init());
        image_decoder_png_register();
    }
    void TearDown() override { image_free_all(); }

    // The colour the chosen entry draws, and its size from the record.
    static std::uint32_t caught_colour(const Bytes& ico, int& size) {
        const std::intptr_t handle = image_catch(0, ico.data(), ico.size());
        if (!handle) return 0xFFFFFFFF;
        const ImageRecord record = image_record(0);
        EXPECT_EQ(record.tag, IMAGE_TAG_ICON);
        EXPECT_EQ(record.width, record.height);
        size = record.width;
        return icon_middle_colour(reinterpret_cast<HICON>(handle), size);
    }
};

constexpr std::uint32_t red = 0xFF0000, green = 0x00FF00, blue = 0x0000FF, yellow = 0xFFFF00;

TEST_F(IconFile, TheDeepestEntryOfTheFirstEntrysSizeIsChosen) {
    int size = 0;
    EXPECT_EQ(caught_colour(ico_file({{16, 4, red}, {16, 8, green}, {16, 32, blue}, {32, 32, yellow}}), size), blue);
    EXPECT_EQ(size, 16);
    // Entries of another size are never chosen unless they come first.
    EXPECT_EQ(caught_colour(ico_file({{32, 8, red}, {16, 32, green}, {32, 32, blue}}), size), blue);
    EXPECT_EQ(size, 32);
    // Only strictly deeper entries replace the choice.
    EXPECT_EQ(caught_colour(ico_file({{16, 32, blue}, {16, 8, green}, {16, 32, yellow}}), size), blue);
    EXPECT_EQ(size, 16);
}

TEST_F(IconFile, TheApplicationIconMakesA16PixelIconThatGoesWithItsNumber) {
    const Bytes ico = read_file(APP_ICO_PATH);
    ASSERT_FALSE(ico.empty());
    const std::intptr_t handle = image_catch(1, ico.data(), ico.size());
    ASSERT_NE(handle, 0);
    const ImageRecord record = image_record(1);
    EXPECT_EQ(record.tag, IMAGE_TAG_ICON);
    EXPECT_EQ(record.width, 16);
    EXPECT_EQ(record.height, 16);
    EXPECT_TRUE(icon_alive(handle));
    image_free(1);
    EXPECT_FALSE(icon_alive(handle));
    // An image caught under its number frees it too.
    const std::intptr_t again = image_catch(1, ico.data(), ico.size());
    const Bytes png = read_file(pngsuite_path("basn2c08.png"));
    ASSERT_NE(image_catch(1, png.data(), png.size()), 0);
    EXPECT_FALSE(icon_alive(again));
}

TEST_F(IconFile, AnEntryOutsideTheDataMakesNoImage) {
    Bytes ico = ico_file({{16, 32, blue}});
    EXPECT_EQ(image_catch(2, ico.data(), ico.size() - 1), 0);  // the image's last byte is missing
    EXPECT_EQ(image_record(2).handle, 0);
    EXPECT_NE(image_catch(2, ico.data(), ico.size()), 0);
}

}  // namespace
