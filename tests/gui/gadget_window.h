// The gadget tests' window and event helpers, from the test support of the
// back end being built, for the gadget tests every back end runs.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "runtime/gui/gadget.h"

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

// Rows appended to a list, in order.
inline void add_rows(ObjectNumber list, std::initializer_list<const char16_t*> rows) {
    for (const char16_t* row : rows) gadget_item_add(list, -1, row);
}

// The texts the runtime returns, to compare.
inline std::u16string text(const char16_t* runtime_text) { return runtime_text ? runtime_text : u""; }

// The texts of a list's rows, in order.
inline std::vector<std::u16string> rows_of(ObjectNumber list) {
    std::vector<std::u16string> texts;
    for (int i = 0; i < gadget_item_count(list); ++i) texts.push_back(text(gadget_item_text_get(list, i)));
    return texts;
}
