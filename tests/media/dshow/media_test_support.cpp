#include "tests/media/dshow/media_test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "runtime/text/text.h"
#include "tests/support/wine_path.h"

namespace {

class MediaEnvironment : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_TRUE(text_init()); }
    void TearDown() override { text_end(); }
};
const auto* const environment = ::testing::AddGlobalTestEnvironment(new MediaEnvironment);

}  // namespace

std::u16string media_test_folder() {
    std::wstring folder = wine_folder_from("MEDIA_TEST_DIR");
    return {folder.begin(), folder.end()};
}

std::u16string media_file(const char16_t* name) { return media_test_folder() + u"\\" + name; }

bool audio_phase_is(const char* phase) {
    const char* current = std::getenv("TUNELATHE_AUDIO");
    return current && std::strcmp(current, phase) == 0;
}

int graph_state(IMediaControl* control) {
    OAFilterState state = -1;
    // Under load a transition can take a while; VFW_S_STATE_INTERMEDIATE means not yet.
    for (int i = 0; i < 20; ++i) {
        HRESULT hr = control->GetState(1000, &state);
        if (hr == S_OK) return static_cast<int>(state);
        if (FAILED(hr)) return -1;
    }
    return -1;
}

double position_seconds(IMediaSeeking* seeking) {
    LONGLONG position = 0;
    if (FAILED(seeking->GetCurrentPosition(&position))) return -1;
    return static_cast<double>(position) / 1e7;
}

bool wait_for_position(IMediaSeeking* seeking, double seconds) {
    for (int i = 0; i < 600; ++i) {
        if (position_seconds(seeking) >= seconds) return true;
        Sleep(50);
    }
    return false;
}
