#include "runtime/image/image_codecs.h"

#include <cstring>

namespace {

// One entry of each is used; room is left for a few more formats.
constexpr int table_capacity = 4;

ImageDecoder decoders[table_capacity];
int decoder_count = 0;
ImageEncoder encoders[table_capacity];
int encoder_count = 0;

}  // namespace

DecodeContext& decode_context() {
    thread_local DecodeContext context{};
    return context;
}

bool decode_start(DecodeContext& context, const void* data, std::size_t size) {
    context = DecodeContext{};
    context.data = static_cast<const unsigned char*>(data);
    context.size = size;
    for (int i = 0; i < decoder_count; ++i) {
        std::memset(context.private_area, 0, sizeof context.private_area);
        if (decoders[i].probe(context)) {
            context.decoder = &decoders[i];
            return true;
        }
    }
    return false;
}

bool image_decoder_add(const ImageDecoder& decoder) {
    for (int i = 0; i < decoder_count; ++i)
        if (decoders[i].tag == decoder.tag) return false;
    if (decoder_count == table_capacity) return false;
    decoders[decoder_count++] = decoder;
    return true;
}

bool image_encoder_add(const ImageEncoder& encoder) {
    if (image_encoder_find(encoder.tag) || encoder_count == table_capacity) return false;
    encoders[encoder_count++] = encoder;
    return true;
}

int image_decoder_count() { return decoder_count; }

const ImageEncoder* image_encoder_find(std::uint32_t tag) {
    for (int i = 0; i < encoder_count; ++i)
        if (encoders[i].tag == tag) return &encoders[i];
    return nullptr;
}
