// Where the media tests find their files natively: MEDIA_TEST_DIR as it is.
#include "tests/media/media_files.h"

#include <glib.h>

#include <cstdlib>

std::u16string media_test_folder() {
    const char* folder = std::getenv("MEDIA_TEST_DIR");
    gunichar2* converted = g_utf8_to_utf16(folder ? folder : "", -1, nullptr, nullptr, nullptr);
    std::u16string result(converted ? reinterpret_cast<char16_t*>(converted) : u"");
    g_free(converted);
    return result;
}

std::u16string media_file(const char16_t* name) { return media_test_folder() + u"/" + name; }
