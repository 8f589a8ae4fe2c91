// Images from the registered decoders: the decoder writes straight into the
// pixel memory of a bottom-up DIB section.
#include "runtime/image/image_codecs.h"
#include "runtime/image/win32/image_win32.h"

namespace {

HBITMAP decode_into_section(DecodeContext& context) {
    void* bits = nullptr;
    HBITMAP section = dib_section_create(context.width, context.height, context.depth, &bits);
    if (!section) return nullptr;
    DIBSECTION description{};
    if (GetObjectA(section, sizeof description, &description) != sizeof description) {
        DeleteObject(section);
        return nullptr;
    }
    const std::size_t pitch = image_row_pitch(description.dsBm.bmWidth, description.dsBm.bmBitsPixel);
    if (!context.decoder->read(context, static_cast<unsigned char*>(bits), pitch, DECODE_BOTTOM_UP)) {
        DeleteObject(section);
        return nullptr;
    }
    return section;
}

}  // namespace

ImageMade decoded_image(const unsigned char* data, std::size_t size, ImageRecord& record) {
    DecodeContext& context = decode_context();
    if (!decode_start(context, data, size)) return ImageMade::not_mine;
    HBITMAP section = decode_into_section(context);
    // Closed whatever became of the section, so the decoder's state never
    // outlives a failed decode.
    context.decoder->close(context);
    if (!section) return ImageMade::failed;
    record.handle = reinterpret_cast<std::intptr_t>(section);
    record_bitmap_shape(section, record);
    record.source_depth = static_cast<std::uint8_t>(context.source_depth);
    record.tag = context.decoder->tag;
    return ImageMade::made;
}
