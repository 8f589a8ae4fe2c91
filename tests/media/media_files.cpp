// Which phase the wrapper runs the media tests in, on every back end.
#include "tests/media/media_files.h"

#include <cstdlib>
#include <cstring>

bool audio_phase_is(const char* phase) {
    const char* current = std::getenv("TUNELATHE_AUDIO");
    return current && std::strcmp(current, phase) == 0;
}
