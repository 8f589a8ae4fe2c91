// The gadget tests' window and event helpers, from the test support of the
// back end being built, for the gadget tests every back end runs.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#ifdef _WIN32
#include "tests/gui/win32/gadget_support.h"
#else
#include "tests/gui/gtk/gadget_support.h"
#endif

// The subtypes of gadget events, each checked to be the gadget's in the
// test's window.
inline std::vector<int> subtypes_from(ObjectNumber gadget, const std::vector<SeenEvent>& events) {
    std::vector<int> subtypes;
    for (const SeenEvent& event : events) {
        EXPECT_EQ(event.object, gadget);
        EXPECT_EQ(event.window, GadgetWindowTest::WINDOW);
        subtypes.push_back(event.subtype);
    }
    return subtypes;
}

