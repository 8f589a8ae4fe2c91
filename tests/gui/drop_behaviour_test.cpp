// Files dragged from another program onto a list gadget, as a person drags
// them, the same on every back end: a drop while a requester is open is
// refused, the same drop afterwards is taken; a drop whose window closes
// before it is read goes with the window.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "runtime/gui/drop.h"
#include "runtime/gui/event.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/requester.h"
#include "runtime/gui/window.h"
#include "tests/gui/gadget_window.h"
#include "tests/gui/person_drag.h"

namespace {

constexpr ObjectNumber LIST = 0;

class DropBehaviourTest : public GadgetWindowTest {
protected:
    void SetUp() override {
        GadgetWindowTest::SetUp();
        requester_init();
        ASSERT_TRUE(drop_init());
        ASSERT_NE(gadget_list_view(LIST, 10, 10, 300, 200), 0);
        for (const char16_t* row : {u"first", u"second", u"third"}) gadget_item_add(LIST, -1, row);
        gadget_drop_enable(LIST, DROP_FORMAT_FILES, DROP_ACTION_COPY | DROP_ACTION_LINK);
        folder_ = std::filesystem::temp_directory_path() / "drop_behaviour_test";
        std::filesystem::create_directories(folder_);
        for (const char* name : {"one.mp3", "two.ogg"}) {
            std::ofstream(folder_ / name) << "x";
            files_.push_back(folder_ / name);
        }
    }
    void TearDown() override {
        GadgetWindowTest::TearDown();
        drop_end();
        requester_end();
        std::filesystem::remove_all(folder_);
    }
    // The kind of the next drop event, waiting up to that many tenths of a
    // second; 0 if none came.
    static int next_drop(int tenths) {
        for (int i = 0; i < tenths; ++i) {
            const int kind = event_wait_timeout(100);
            if (kind == EVENT_GADGET_DROP || kind == EVENT_WINDOW_DROP) return kind;
        }
        return 0;
    }
    std::filesystem::path folder_;
    std::vector<std::filesystem::path> files_;
};

TEST_F(DropBehaviourTest, NoDropIsTakenWhileARequesterIsOpen) {
    {
        DragDuringRequester person(LIST, 1, files_);
        EXPECT_EQ(requester_message(u"Question", u"Drop now?", REQUESTER_OK), ANSWER_OK);
        EXPECT_TRUE(person.done());
    }
    EXPECT_EQ(next_drop(10), 0);
    EXPECT_EQ(gadget_state_get(LIST), -1);

    // Once it is answered, the same drag is taken.
    drag_files_onto_row(LIST, 1, files_);
    ASSERT_EQ(next_drop(30), EVENT_GADGET_DROP);
    EXPECT_EQ(event_gadget(), LIST);
    EXPECT_EQ(event_window(), WINDOW);
    const char16_t* dropped = event_drop_files();
    EXPECT_EQ(std::u16string(dropped ? dropped : u""), files_[0].u16string() + u"\n" + files_[1].u16string());
    EXPECT_EQ(gadget_state_get(LIST), 1);
}

TEST_F(DropBehaviourTest, ADropWhoseWindowClosesBeforeItIsReadGoesWithIt) {
    drag_files_onto_row(LIST, 2, files_);
    ASSERT_EQ(drop_record_live_count(), 1);  // dropped, not read yet
    window_close(WINDOW);
    EXPECT_EQ(drop_record_live_count(), 0);
    EXPECT_EQ(next_drop(10), 0);
    const char16_t* files = event_drop_files();
    EXPECT_EQ(std::u16string(files ? files : u""), u"");
}

}  // namespace
