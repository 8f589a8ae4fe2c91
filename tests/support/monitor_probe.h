// What the private audio server played, as the recorder of the sound tests
// (tests/support/level_probe.sh) heard it on the null sink's monitor.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

// Levels in dB full scale; silence reads as -999.
struct ChannelLevels {
    double overall;
    double left;
    double right;
};
struct MonitorLevels {
    ChannelLevels peak;      // highest sample
    ChannelLevels rms_peak;  // loudest 50 ms window: robust to short dropouts
    double frequency;        // the left channel's pitch, in Hz
};
inline constexpr MonitorLevels NOTHING_HEARD{{-999, -999, -999}, {-999, -999, -999}, 0};
inline constexpr double SILENCE_DB = -60.0;

// Asks the recorder in the folder MONITOR_PROBE_DIR names (a Unix path) for
// ms of the monitor, recorded from now; nothing when it does not answer.
std::optional<MonitorLevels> record_monitor(int ms);

// What played once the last change has passed the player's and the server's
// buffers: waits, then records; a recorder that does not answer fails the
// current test and reads as NOTHING_HEARD.
MonitorLevels hear_settled();

// The test songs are made 6 dB below full scale; anything this loud is a song.
inline constexpr double AUDIBLE_DB = -30.0;

// A song of that pitch, told apart from the other test songs by its frequency.
inline ::testing::AssertionResult hears_song(const MonitorLevels& levels, double hz) {
    if (levels.rms_peak.overall > AUDIBLE_DB && std::abs(levels.frequency - hz) < 15)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "heard " << levels.rms_peak.overall << " dB at about " << levels.frequency
                                         << " Hz, not the " << hz << " Hz song";
}

inline ::testing::AssertionResult hears_silence(const MonitorLevels& levels) {
    if (levels.peak.overall < SILENCE_DB) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "heard " << levels.peak.overall << " dB at about " << levels.frequency
                                         << " Hz";
}

// The song, or silence, on the monitor within a few settled listens: on a
// loaded machine the sound path may still be draining what played before.
// Each listen that hears something else is only a failure once all have.
template <class Check>
::testing::AssertionResult heard_soon(Check check, int listens = 4) {
    ::testing::AssertionResult result = ::testing::AssertionFailure();
    for (int listen = 0; listen < listens && !result; ++listen) result = check(hear_settled());
    return result;
}
inline ::testing::AssertionResult hears_song_soon(double hz) {
    return heard_soon([hz](const MonitorLevels& levels) { return hears_song(levels, hz); });
}
inline ::testing::AssertionResult hears_silence_soon() {
    return heard_soon([](const MonitorLevels& levels) { return hears_silence(levels); });
}
