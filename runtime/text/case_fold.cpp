#include "runtime/text/case_fold.h"

namespace {
// Latin Extended-A pairs capital and small letters as even/odd neighbours,
// except in 0x139..0x148 and 0x179..0x17E, where the capital is odd.
char16_t fold_latin_extended_a(char16_t c) {
    if (c == 0x130) return c;  // capital I with dot: no one-to-one small form
    if (c == 0x178) return 0xFF;
    bool odd_capitals = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if (odd_capitals) return (c & 1) ? static_cast<char16_t>(c + 1) : c;
    if (c == 0x138 || c == 0x149 || c == 0x17F) return c;  // small letters without a capital
    return (c & 1) ? c : static_cast<char16_t>(c + 1);
}
}  // namespace

char16_t case_fold(char16_t c) {
    if (c < 0x80) return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 32);
    if (c >= 0x100 && c <= 0x17F) return fold_latin_extended_a(c);
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return static_cast<char16_t>(c + 32);
    if (c == 0x3C2) return 0x3C3;  // final sigma compares as sigma
    if (c >= 0x400 && c <= 0x40F) return static_cast<char16_t>(c + 80);
    if (c >= 0x410 && c <= 0x42F) return static_cast<char16_t>(c + 32);
    return c;
}
