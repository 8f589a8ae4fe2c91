// libFuzzer: arbitrary bytes through the PNG decoder as image_catch drives
// it: probe, read into DIB-style rows of the size the probe reported, close.
// libFuzzer hands over a heap block of exactly the input's size, so any read
// beyond it is caught by AddressSanitizer; libpng's state must be freed on
// every path, which LeakSanitizer checks.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "runtime/image/image.h"
#include "runtime/image/image_codecs.h"

namespace {

// Room for 1024 x 1024 pixels at most: a header claiming a huge image would
// otherwise spend memory and, row by row, seconds before libpng finds the
// data missing, which only slows the search down.
constexpr std::size_t largest_pixel_count = 1024 * 1024;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool registered = (image_decoder_png_register(), true);
    (void)registered;
    DecodeContext& context = decode_context();
    if (!decode_start(context, data, size)) return 0;
    const auto pixel_count = static_cast<std::size_t>(context.width) * static_cast<std::size_t>(context.height);
    if (context.width > 0 && context.height > 0 && pixel_count <= largest_pixel_count) {
        const std::size_t pitch = image_row_pitch(context.width, context.depth);
        const auto rows = std::make_unique_for_overwrite<unsigned char[]>(pitch * static_cast<std::size_t>(context.height));
        context.decoder->read(context, rows.get(), pitch, (size & 1) ? DECODE_BOTTOM_UP : 0);
    }
    context.decoder->close(context);
    return 0;
}
