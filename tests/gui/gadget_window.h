// The gadget tests' window and events, for the gadget tests every back end
// runs; each back end's gadget_window.cpp (win32/, gtk/) holds what touches
// the platform.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "runtime/gui/event.h"
#include "runtime/gui/gadget.h"

struct SeenEvent {
    int kind;
    ObjectNumber object;
    ObjectNumber window;
    int subtype;
};

// The gadget, menu, drop and other runtime events from EVENT_GADGET on, and
// size and close events, that are waiting once the platform has delivered
// what was pending, in order; the platform's own messages, repaints and moves
// are not listed.
std::vector<SeenEvent> drain_events();
// Only the EVENT_GADGET ones.
inline std::vector<SeenEvent> gadget_events() {
    std::vector<SeenEvent> gadget;
    for (const SeenEvent& event : drain_events())
        if (event.kind == EVENT_GADGET) gadget.push_back(event);
    return gadget;
}

// Window 0 is open (shown, 500 x 400 inner size, in front) and is the gadget
// parent; everything left queued or open is gone afterwards. The runtime's
// texts, events, windows and gadgets are started for the whole test program.
class GadgetWindowTest : public ::testing::Test {
public:
    static constexpr ObjectNumber WINDOW = 0;

protected:
    void SetUp() override;
    void TearDown() override;
};

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
