// The application icon in its two forms, both written by one run of
// resources/icon_generator: app.ico, the Windows program's, and the PNG files
// of resources/app_icon, the Linux program's windows' and the desktop's icon
// theme's. They must show the very same pictures, so that one is never
// changed without the other.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "png_test_support.h"

namespace {

unsigned little16(const Bytes& b, std::size_t at) { return b[at] | b[at + 1] << 8; }
std::uint32_t little32(const Bytes& b, std::size_t at) { return little16(b, at) | little16(b, at + 2) << 16; }

// The 32-bit image of that size in the icon file, top row first; empty
// when there is none. Each image: a 40-byte bitmap header of twice the
// height (colour rows, then the mask's), then BGRA rows bottom-up.
Pixels ico_image(const Bytes& ico, int size) {
    Pixels pixels;
    if (ico.size() < 6 || little16(ico, 0) != 0 || little16(ico, 2) != 1) return pixels;
    const unsigned count = little16(ico, 4);
    for (unsigned i = 0; i < count && 6 + 16 * (i + 1) <= ico.size(); ++i) {
        const std::size_t entry = 6 + 16 * i;
        if (ico[entry] != size || ico[entry + 1] != size || little16(ico, entry + 6) != 32) continue;
        const std::size_t at = little32(ico, entry + 12);
        const std::size_t row = static_cast<std::size_t>(size) * 4;
        if (at + 40 + row * static_cast<std::size_t>(size) > ico.size()) return pixels;
        if (little32(ico, at + 4) != static_cast<std::uint32_t>(size) ||
            little32(ico, at + 8) != static_cast<std::uint32_t>(2 * size) || little16(ico, at + 14) != 32)
            return pixels;
        return pixels_from_rows(&ico[at + 40], row, size, size, 32, true);
    }
    return pixels;
}

TEST(AppIcon, ThePngFilesHoldThePicturesOfAppIco) {
    const Bytes ico = read_file(std::string(APP_RESOURCES_DIR) + "/app.ico");
    ASSERT_FALSE(ico.empty());
    for (int size : {16, 32, 48}) {
        SCOPED_TRACE(size);
        const Bytes png = read_file(std::string(APP_RESOURCES_DIR) + "/app_icon/tunelathe-" + std::to_string(size) +
                                    ".png");
        const PngHeader header = png_header(png);
        EXPECT_EQ(header.width, size);
        EXPECT_EQ(header.height, size);
        EXPECT_EQ(header.colour_type, 6);  // RGBA
        EXPECT_EQ(header.bit_depth, 8);
        Pixels from_png;
        ASSERT_TRUE(reference_decode(png, from_png));
        const Pixels from_ico = ico_image(ico, size);
        ASSERT_EQ(from_ico.width, size) << "app.ico has no 32-bit image of this size";
        EXPECT_TRUE(same_pixels(from_png, from_ico));
    }
}

}  // namespace
