// What the requester tests of every back end share: the libraries started,
// the program's main window in front, and a new folder for every test (the
// dialogs remember the last folder used, so a folder seen before would hide
// a dialog that ignored its start folder).
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "runtime/gui/event.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/requester.h"
#include "runtime/gui/window.h"
#include "runtime/text/text.h"
#include "tests/support/person_requester.h"

// The texts the runtime returns, to compare.
inline std::u16string text(const char16_t* runtime_text) { return runtime_text ? runtime_text : u""; }

class RequesterSuite : public ::testing::Test {
protected:
    static constexpr ObjectNumber MAIN = 0;

    static void SetUpTestSuite() {
        ASSERT_TRUE(text_init());
        ASSERT_TRUE(event_init());
        ASSERT_TRUE(window_init());
        ASSERT_TRUE(gadget_init());
        requester_init();
    }
    static void TearDownTestSuite() {
        requester_end();
        gadget_end();
        window_end();
        event_end();
        text_end();
    }
    void SetUp() override {
        ASSERT_NE(window_open(MAIN, 40, 40, 400, 300, u"Main", 0xCF0000), 0);
        bring_to_front(MAIN);
        static int made = 0;
        const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
        folder_ = std::filesystem::current_path() /
                  ("requester-test-" + std::to_string(now % 1000000007) + "-" + std::to_string(++made));
        ASSERT_TRUE(std::filesystem::create_directories(folder_));
        mark_ = text_builder_mark();
    }
    void TearDown() override {
        text_builder_rewind(mark_);
        window_close(-1);
        std::filesystem::remove_all(folder_);
    }
    // A default file in the test's folder, as the program names one.
    std::u16string default_file(const char16_t* name) const { return folder_.u16string() + u"\\" + name; }

    std::filesystem::path folder_;
    int mark_ = 0;
};
