// The recorder's client, on every platform: request and answer files in the
// folder MONITOR_PROBE_DIR names.
#include "tests/support/monitor_probe.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

#include "tests/support/test_folder.h"

std::optional<MonitorLevels> record_monitor(int ms) {
    const std::filesystem::path folder = test_folder_from("MONITOR_PROBE_DIR");
    if (folder.empty()) return std::nullopt;
    static int next = 0;
    const std::string number = std::to_string(++next);
    // The request appears under its final name in one step, so the recorder
    // never reads half of it.
    const std::filesystem::path request = folder / (number + ".request");
    const std::filesystem::path partial = folder / (number + ".request.part");
    if (!(std::ofstream(partial, std::ios::binary) << ms << "\n")) return std::nullopt;
    std::error_code error;
    std::filesystem::rename(partial, request, error);
    if (error) return std::nullopt;
    const std::filesystem::path answer = folder / (number + ".level");
    // Generous: the machine may be busy; the recording itself takes ms.
    for (int waited = 0; waited < 120000; waited += 20) {
        if (std::ifstream levels_file{answer}) {
            MonitorLevels levels{};
            if (!(levels_file >> levels.peak.overall >> levels.peak.left >> levels.peak.right >>
                  levels.rms_peak.overall >> levels.rms_peak.left >> levels.rms_peak.right >> levels.frequency))
                return std::nullopt;
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
