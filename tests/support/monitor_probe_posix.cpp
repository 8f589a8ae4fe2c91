// The recorder's client for native tests: the same request and answer files
// as under Wine, named with the Unix folder directly.
#include "tests/support/monitor_probe.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

std::string probe_folder() {
    const char* folder = std::getenv("MONITOR_PROBE_DIR");
    return folder ? folder : "";
}

std::string probe_file(int number, const char* extension) {
    return probe_folder() + "/" + std::to_string(number) + extension;
}

}  // namespace

std::optional<MonitorLevels> record_monitor(int ms) {
    if (probe_folder().empty()) return std::nullopt;
    static int next = 0;
    const int number = ++next;
    // The request appears under its final name in one step, so the recorder
    // never reads half of it.
    const std::string request = probe_file(number, ".request");
    const std::string partial = request + ".part";
    FILE* file = std::fopen(partial.c_str(), "wb");
    if (!file) return std::nullopt;
    const std::string text = std::to_string(ms) + "\n";
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    if (std::fclose(file) != 0 || !written || std::rename(partial.c_str(), request.c_str()) != 0) return std::nullopt;
    const std::string answer = probe_file(number, ".level");
    // Generous: the machine may be busy; the recording itself takes ms.
    for (int waited = 0; waited < 120000; waited += 20) {
        if (FILE* levels_file = std::fopen(answer.c_str(), "rb")) {
            MonitorLevels levels{};
            const int fields = std::fscanf(levels_file, "%lf %lf %lf %lf %lf %lf %lf", &levels.peak.overall,
                                           &levels.peak.left, &levels.peak.right, &levels.rms_peak.overall,
                                           &levels.rms_peak.left, &levels.rms_peak.right, &levels.frequency);
            std::fclose(levels_file);
            if (fields != 7) return std::nullopt;
            return levels;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return std::nullopt;
}

MonitorLevels hear_settled() {
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    std::optional<MonitorLevels> levels = record_monitor(600);
    if (!levels) ADD_FAILURE() << "the recorder did not answer";
    return levels.value_or(NOTHING_HEARD);
}
