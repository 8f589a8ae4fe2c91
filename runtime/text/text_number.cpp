// Decimal text of a signed integer: 32-bit arithmetic when the value fits
// (cheaper on 32-bit processors), 64-bit otherwise. Room for the longest
// result is reserved first and what was not needed is given back.
#include <cstdint>

#include "runtime/text/text.h"
#include "runtime/text/text_builder.h"

namespace {
// Writes the digits of magnitude, most significant first; returns their count.
template <class Unsigned>
int write_digits(char16_t* out, Unsigned magnitude) {
    char16_t reversed[20];
    int count = 0;
    do {
        reversed[count++] = static_cast<char16_t>(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    for (int i = 0; i < count; ++i) out[i] = reversed[count - 1 - i];
    return count;
}

int write_int32(char16_t* out, std::int32_t value) {
    if (value == INT32_MIN) {
        // Its magnitude has no 32-bit signed form.
        const char16_t digits[] = u"-2147483648";
        for (int i = 0; i < 11; ++i) out[i] = digits[i];
        return 11;
    }
    int sign = 0;
    if (value < 0) {
        out[sign++] = u'-';
        value = -value;
    }
    return sign + write_digits(out + sign, static_cast<std::uint32_t>(value));
}

int write_int64(char16_t* out, std::int64_t value) {
    int sign = 0;
    auto magnitude = static_cast<std::uint64_t>(value);
    if (value < 0) {
        out[sign++] = u'-';
        // Two's-complement negation read as unsigned: exact for INT64_MIN too.
        magnitude = ~magnitude + 1;
    }
    return sign + write_digits(out + sign, magnitude);
}
}  // namespace

char16_t* text_from_int(std::int64_t value, int position) {
    TextBuilder& builder = text_builder();
    bool fits_32 = value >= INT32_MIN && value <= INT32_MAX;
    int reserved = fits_32 ? 32 : 64;
    char16_t* out = text_builder_room(builder, reserved, position);
    int written = fits_32 ? write_int32(out, static_cast<std::int32_t>(value)) : write_int64(out, value);
    builder.position -= 2 * (reserved - written);  // give back the unused room
    out[written] = 0;
    return out;
}
