#include "runtime/file/file.h"

int file_name_valid(const char16_t* text) {
    if (!text || !text[0]) return 0;
    for (const char16_t* c = text; *c; ++c) {
        if (*c < 32) return 0;
        switch (*c) {
        case u'"': case u'\\': case u'/': case u':': case u'*':
        case u'?': case u'<': case u'>': case u'|':
            return 0;
        default:
            break;
        }
    }
    return 1;
}
