// Where the media tests find their files and which phase the wrapper runs
// them in, on every back end.
#include "tests/media/media_files.h"

#include <cstdlib>
#include <cstring>

#include "tests/support/test_folder.h"

std::u16string media_test_folder() { return test_folder_from("MEDIA_TEST_DIR").u16string(); }

std::u16string media_file(const char16_t* name) { return (test_folder_from("MEDIA_TEST_DIR") / name).u16string(); }

bool audio_phase_is(const char* phase) {
    const char* current = std::getenv("TUNELATHE_AUDIO");
    return current && std::strcmp(current, phase) == 0;
}
