// What the window tests of every back end share: the flags windows are opened
// with, an event as event_wait and its accessors give it, the waits for them,
// and a test suite with the event queue and the window library started.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <initializer_list>
#include <ostream>
#include <vector>

#include "runtime/gui/event.h"
#include "runtime/gui/window.h"
#include "tests/support/person.h"

inline constexpr std::uint32_t MAIN_FLAGS = 0xCF0001;  // title bar, system menu, sizeable, min/max boxes, centred
inline constexpr std::uint32_t POPUP = 0x80000000;

struct Event {
    int kind;
    ObjectNumber object;
    ObjectNumber window;
    int subtype;
    bool operator==(const Event&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Event& e) {
    return out << "{" << e.kind << ", " << e.object << ", " << e.window << ", " << e.subtype << "}";
}

// The current event, whose kind event_wait returned.
inline Event current(int kind) { return {kind, event_gadget(), event_window(), event_subtype()}; }

// The queued events of these kinds that a window gets, in order: its close
// and move events name the window as their object too.
inline std::vector<Event> window_events(ObjectNumber window, std::initializer_list<int> kinds) {
    std::vector<Event> events;
    for (const int kind : kinds)
        events.push_back({kind, kind == EVENT_CLOSE_WINDOW || kind == EVENT_MOVE_WINDOW ? window : 0, window, 0});
    return events;
}

// The next event of that kind (of that window, unless -1) within the time;
// kind 0 when none came.
inline Event next_event(int kind, ObjectNumber window = -1, int timeout_ms = 2000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    while (std::chrono::steady_clock::now() < deadline)
        if (event_wait_timeout(10) == kind && (window < 0 || event_window() == window)) return current(kind);
    return {0, 0, 0, 0};
}

// Every event the wait gives meanwhile, read as a program reads them: it is
// the wait that hands keys to the shortcuts.
inline std::vector<Event> events_within(int ms = 400) {
    std::vector<Event> events;
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < until)
        if (const int kind = event_wait_timeout(10)) events.push_back(current(kind));
    return events;
}

class WindowSuite : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(event_init());
        ASSERT_TRUE(window_init());
    }
    static void TearDownTestSuite() {
        window_end();
        event_end();
    }
    // Every window closed, and what they left unread.
    void TearDown() override {
        window_close(-1);
        settle();
        while (event_wait_timeout(0)) {
        }
    }
};
