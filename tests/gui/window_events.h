// What the window tests of every back end share: the flags windows are opened
// with, an event as event_wait and its accessors give it, and a test suite
// with the event queue and the window library started.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>

#include "runtime/gui/event.h"
#include "runtime/gui/window.h"

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
};
