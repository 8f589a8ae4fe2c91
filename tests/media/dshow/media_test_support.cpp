#include "tests/media/dshow/media_test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "runtime/text/text.h"

namespace {

class MediaEnvironment : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_TRUE(text_init()); }
    void TearDown() override { text_end(); }
};
const auto* const environment = ::testing::AddGlobalTestEnvironment(new MediaEnvironment);

std::u16string windows_path(const char* unix_path) {
    std::u16string path = u"Z:";
    for (const char* c = unix_path; *c; ++c) path += *c == '/' ? u'\\' : static_cast<char16_t>(*c);
    return path;
}

std::u16string probe_file(int number, const char16_t* extension) {
    std::u16string path = media_test_folder() + u"\\probe\\";
    for (char digit : std::to_string(number)) path += static_cast<char16_t>(digit);
    return path + extension;
}

bool write_text(const std::u16string& path, const std::string& text) {
    FILE* file = _wfopen(reinterpret_cast<const wchar_t*>(path.c_str()), L"wb");
    if (!file) return false;
    bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace

std::u16string media_test_folder() {
    const char* folder = std::getenv("MEDIA_TEST_DIR");
    return folder ? windows_path(folder) : std::u16string();
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

std::optional<MonitorLevels> record_monitor(int ms) {
    static int next = 0;
    int number = ++next;
    // The request appears under its final name in one step, so the recorder
    // never reads half of it.
    std::u16string request = probe_file(number, u".request");
    std::u16string partial = request + u".part";
    if (!write_text(partial, std::to_string(ms) + "\n")) return std::nullopt;
    if (!MoveFileW(reinterpret_cast<const wchar_t*>(partial.c_str()),
                   reinterpret_cast<const wchar_t*>(request.c_str())))
        return std::nullopt;
    std::u16string answer = probe_file(number, u".level");
    // Generous: the machine may be busy; the recording itself takes ms.
    for (int waited = 0; waited < 120000; waited += 20) {
        if (FILE* file = _wfopen(reinterpret_cast<const wchar_t*>(answer.c_str()), L"rb")) {
            MonitorLevels levels{};
            int fields = std::fscanf(file, "%lf %lf %lf %lf %lf %lf", &levels.peak.overall, &levels.peak.left,
                                     &levels.peak.right, &levels.rms_peak.overall, &levels.rms_peak.left,
                                     &levels.rms_peak.right);
            std::fclose(file);
            if (fields != 6) return std::nullopt;
            return levels;
        }
        Sleep(20);
    }
    return std::nullopt;
}
