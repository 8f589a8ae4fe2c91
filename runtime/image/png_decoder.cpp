#include "runtime/image/png_decoder.h"

#include <png.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "runtime/image/image.h"

namespace {

// What the decoder keeps in the context's private area between its calls.
struct PngState {
    png_structp png;
    png_infop info;
    std::size_t cursor;  // next byte the memory reader hands out
    int bit_depth;       // per sample, once the probe's transforms are done
};
static_assert(sizeof(PngState) <= sizeof(DecodeContext::private_area));

PngState& state_of(DecodeContext& context) {
    return *std::launder(reinterpret_cast<PngState*>(context.private_area));
}

void ignore_warning(png_structp, png_const_charp) {}

// The stream lies in memory; a read past the given size is an error, so a
// short or lying size can never make libpng read beyond the data.
void read_from_memory(png_structp png, png_bytep out, png_size_t length) {
    DecodeContext& context = *static_cast<DecodeContext*>(png_get_io_ptr(png));
    PngState& state = state_of(context);
    if (length > context.size - state.cursor) png_error(png, "read beyond the end of the data");
    std::memcpy(out, context.data + state.cursor, length);
    state.cursor += length;
}

void destroy(PngState& state) {
    if (state.png) png_destroy_read_struct(&state.png, &state.info, nullptr);
    state.png = nullptr;
    state.info = nullptr;
}

// Reads the header and sets up the colour transforms; libpng errors jump
// back to the caller's recovery point.
void read_header(DecodeContext& context, PngState& state) {
    png_set_error_fn(state.png, nullptr, nullptr, ignore_warning);
    png_set_read_fn(state.png, &context, read_from_memory);
    // Only IHDR, PLTE, tRNS, IDAT and IEND matter without gamma or text, so
    // every other chunk is skipped unread. libpng would otherwise allocate
    // whatever length a text or profile chunk declares (its size limit is
    // only a warning), letting a few forged bytes ask for gigabytes.
    png_set_keep_unknown_chunks(state.png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    state.info = png_create_info_struct(state.png);
    if (!state.info) png_error(state.png, "out of memory");
    png_read_info(state.png, state.info);

    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bit_depth = 0;
    int colour_type = 0;
    png_get_IHDR(state.png, state.info, &width, &height, &bit_depth, &colour_type, nullptr, nullptr, nullptr);

    // libpng 1.6 takes transforms only before png_read_update_info, which
    // may run once, and the read still has to add its own; so the layout
    // each transform leads to is worked out here rather than asked for, and
    // checked against libpng's once all transforms are set.
    if (png_get_valid(state.png, state.info, PNG_INFO_tRNS)) {
        png_set_tRNS_to_alpha(state.png);  // also expands palette and small samples
        colour_type = colour_type == PNG_COLOR_TYPE_GRAY ? PNG_COLOR_TYPE_GRAY_ALPHA : PNG_COLOR_TYPE_RGB_ALPHA;
        bit_depth = std::max(bit_depth, 8);
    }
    if (colour_type == PNG_COLOR_TYPE_GRAY || colour_type == PNG_COLOR_TYPE_PALETTE ||
        colour_type == PNG_COLOR_TYPE_GRAY_ALPHA) {
        context.source_depth = bit_depth;
        if (bit_depth < 8) png_set_expand(state.png);
        if (colour_type == PNG_COLOR_TYPE_PALETTE) {
            png_set_palette_to_rgb(state.png);
            bit_depth = 8;
        } else {
            png_set_gray_to_rgb(state.png);
            bit_depth = std::max(bit_depth, 8);
        }
        colour_type = colour_type == PNG_COLOR_TYPE_GRAY_ALPHA ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB;
    } else {
        context.source_depth = colour_type == PNG_COLOR_TYPE_RGB ? 24 : 32;
    }

    context.width = static_cast<int>(width);  // libpng caps both at 1,000,000
    context.height = static_cast<int>(height);
    context.depth = colour_type == PNG_COLOR_TYPE_RGB ? 24 : 32;
    state.bit_depth = bit_depth;
}

// Sets the output transforms and reads every pass into the rows.
void read_rows(DecodeContext& context, PngState& state, unsigned char* pixels, std::size_t pitch, int flags) {
    if (state.bit_depth == 16) png_set_strip_16(state.png);
    png_set_bgr(state.png);
    const int passes = png_set_interlace_handling(state.png);
    png_read_update_info(state.png, state.info);
    const std::size_t row_bytes =
        static_cast<std::size_t>(context.width) * static_cast<std::size_t>(context.depth / 8);
    if (png_get_rowbytes(state.png, state.info) != row_bytes || pitch < row_bytes)
        png_error(state.png, "rows do not fit the layout");

    const bool bottom_up = (flags & DECODE_BOTTOM_UP) != 0;
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 0; y < context.height; ++y) {
            const auto line = static_cast<std::size_t>(bottom_up ? context.height - 1 - y : y);
            png_bytep row = pixels + line * pitch;
            png_read_rows(state.png, &row, nullptr, 1);
        }
    }
}

}  // namespace

// The recovery points stay in these two functions; everything that can make
// libpng jump runs in the helpers above.
bool png_decode_probe(DecodeContext& context) {
    PngState& state = *new (context.private_area) PngState{};
    if (context.size < 8 || png_sig_cmp(context.data, 0, 8) != 0) return false;
    // libpng 1.6 stands in for the 1.5 series the runtime was written
    // against: the read state is made for the version of the library built
    // with (PNG_LIBPNG_VER_STRING), whose own check refuses any other.
    state.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!state.png) return false;
    if (setjmp(png_jmpbuf(state.png))) {
        destroy(state);
        return false;
    }
    read_header(context, state);
    return true;
}

bool png_decode_read(DecodeContext& context, unsigned char* pixels, std::size_t pitch, int flags) {
    PngState& state = state_of(context);
    if (!state.png) return false;
    // An error frees libpng's state here, so a failed read leaks nothing
    // even when the caller does not close.
    if (setjmp(png_jmpbuf(state.png))) {
        destroy(state);
        return false;
    }
    read_rows(context, state, pixels, pitch, flags);
    return true;
}

void png_decode_close(DecodeContext& context) { destroy(state_of(context)); }

void image_decoder_png_register() {
    image_decoder_add(ImageDecoder{png_decode_probe, png_decode_read, png_decode_close, IMAGE_TAG_PNG});
}
