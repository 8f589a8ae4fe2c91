#include "tests/support/monitor_probe.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/support/wine_path.h"

namespace {

std::wstring probe_file(int number, const wchar_t* extension) {
    return wine_folder_from("MONITOR_PROBE_DIR") + L"\\" + std::to_wstring(number) + extension;
}

bool write_text(const std::wstring& path, const std::string& text) {
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file) return false;
    bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace

std::optional<MonitorLevels> record_monitor(int ms) {
    if (wine_folder_from("MONITOR_PROBE_DIR").empty()) return std::nullopt;
    static int next = 0;
    int number = ++next;
    // The request appears under its final name in one step, so the recorder
    // never reads half of it.
    std::wstring request = probe_file(number, L".request");
    std::wstring partial = request + L".part";
    if (!write_text(partial, std::to_string(ms) + "\n")) return std::nullopt;
    if (!MoveFileW(partial.c_str(), request.c_str())) return std::nullopt;
    std::wstring answer = probe_file(number, L".level");
    // Generous: the machine may be busy; the recording itself takes ms.
    for (int waited = 0; waited < 120000; waited += 20) {
        if (FILE* file = _wfopen(answer.c_str(), L"rb")) {
            MonitorLevels levels{};
            int fields = std::fscanf(file, "%lf %lf %lf %lf %lf %lf %lf", &levels.peak.overall, &levels.peak.left,
                                     &levels.peak.right, &levels.rms_peak.overall, &levels.rms_peak.left,
                                     &levels.rms_peak.right, &levels.frequency);
            std::fclose(file);
            if (fields != 7) return std::nullopt;
            return levels;
        }
        Sleep(20);
    }
    return std::nullopt;
}

MonitorLevels hear_settled() {
    Sleep(800);
    std::optional<MonitorLevels> levels = record_monitor(600);
    if (!levels) ADD_FAILURE() << "the recorder did not answer";
    return levels.value_or(NOTHING_HEARD);
}
