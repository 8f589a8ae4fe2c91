// What the drop tests of every back end share: window 0 with list 0 of three
// rows that takes files (copied or linked), requesters and drops started, and
// three files on disk to drag onto it; every drop record released at the end.
#pragma once

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "runtime/gui/drop.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/requester.h"
#include "tests/gui/gadget_window.h"

class DropBehaviourTest : public GadgetWindowTest {
protected:
    static constexpr ObjectNumber LIST = 0;

    void SetUp() override {
        GadgetWindowTest::SetUp();
        requester_init();
        ASSERT_TRUE(drop_init());
        ASSERT_NE(gadget_list_view(LIST, 10, 10, 300, 200), 0);
        for (const char16_t* row : {u"first", u"second", u"third"}) gadget_item_add(LIST, -1, row);
        gadget_drop_enable(LIST, DROP_FORMAT_FILES, DROP_ACTION_COPY | DROP_ACTION_LINK);
        // Of this run alone: other test programs may drop at the same time.
        const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
        folder_ = std::filesystem::temp_directory_path() / ("drop_test_" + std::to_string(now));
        std::filesystem::create_directories(folder_);
        for (const char16_t* name : {u"one.mp3", u"zwei \u00e4\u00f6.ogg", u"\u97f3 d.flac"}) {
            std::ofstream(folder_ / name) << "x";
            files_.push_back(folder_ / name);
        }
    }
    void TearDown() override {
        GadgetWindowTest::TearDown();
        EXPECT_EQ(drop_record_live_count(), 0) << "every record is released by the wait after its event";
        drop_end();
        requester_end();
        std::filesystem::remove_all(folder_);
    }
    static std::u16string joined(const std::vector<std::filesystem::path>& files) {
        std::u16string text;
        for (const std::filesystem::path& file : files) text += (text.empty() ? u"" : u"\n") + file.u16string();
        return text;
    }
    std::filesystem::path folder_;
    std::vector<std::filesystem::path> files_;
};
