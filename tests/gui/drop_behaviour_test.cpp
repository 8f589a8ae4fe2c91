// Files dragged from another program onto a list gadget, as a person drags
// them, the same on every back end: what a drop delivers (one event with the
// files' names in their order, the record with its format, action, point and
// file list), twenty thousand files at once, the row it selects, the action the keys held choose, drops
// refused by a list that takes no files, a drop while a requester is open
// refused, drops onto the window beside its gadgets, and a drop whose window
// closes before it is read going with it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "runtime/gui/drop.h"
#include "runtime/gui/drop_effect.h"
#include "runtime/gui/event.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/requester.h"
#include "runtime/gui/window.h"
#include "tests/support/drop_blocks.h"
#include "tests/gui/drop_events.h"
#include "tests/gui/drop_suite.h"
#include "tests/gui/person_drag.h"

namespace {

TEST_F(DropBehaviourTest, FilesDroppedOnARowArriveAsOneEventWithTheirNamesJoinedByLineFeeds) {
    const DropPoint at = drag_files_onto_row(LIST, 1, files_);
    EXPECT_EQ(gadget_state_get(LIST), 1) << "the row under the drop, selected before the event is read";
    EXPECT_EQ(drop_record_live_count(), 1);

    const std::vector<SeenDrop> events = drop_events();
    ASSERT_EQ(events.size(), 1u);
    const SeenDrop& event = events[0];
    EXPECT_EQ(event.kind, EVENT_GADGET_DROP);
    EXPECT_EQ(event.object, LIST);
    EXPECT_EQ(event.window, WINDOW);
    EXPECT_EQ(event.subtype, -1);
    EXPECT_EQ(event.files, joined(files_));
    EXPECT_EQ(std::count(event.files.begin(), event.files.end(), u'\n'), 2);
    ASSERT_TRUE(event.has_record);
    EXPECT_EQ(event.record.format, DROP_FORMAT_FILES);
    EXPECT_EQ(event.record.private_type, 0);
    EXPECT_EQ(event.record.action, DROP_ACTION_COPY);
    EXPECT_EQ(event.record.x, at.x);
    EXPECT_EQ(event.record.y, at.y);
    std::vector<std::u16string> names;
    for (const std::filesystem::path& file : files_) names.push_back(file.u16string());
    EXPECT_EQ(event.bytes, wide_file_list(names)) << "the file list in the platform's own layout";
    EXPECT_EQ(event.live_records, 1);
    EXPECT_EQ(drop_record_live_count(), 0);
    EXPECT_EQ(dropped_files(), u"") << "the current event is no drop any more";
}

TEST_F(DropBehaviourTest, EachDropKeepsItsOwnRecordUntilTheWaitAfterIt) {
    const std::vector<std::filesystem::path> second{files_[2], files_[0]};
    drag_files_onto_row(LIST, 0, files_);
    drag_files_onto_row(LIST, 2, second);
    EXPECT_EQ(drop_record_live_count(), 2);
    const std::vector<SeenDrop> events = drop_events();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].files, joined(files_));
    EXPECT_EQ(events[1].files, joined(second));
    EXPECT_EQ(events[0].live_records, 2);
    EXPECT_EQ(events[1].live_records, 1);
    EXPECT_EQ(drop_record_live_count(), 0);
}

TEST_F(DropBehaviourTest, TwentyThousandFilesArriveInTheirOrderAsOneEvent) {
    // Offered in an order no sorting by name gives back. Only their names: a
    // drop hands names on without opening the files, and making twenty
    // thousand files takes minutes under Wine.
    std::vector<std::filesystem::path> files;
    for (int i = 0; i < 20000; ++i) files.push_back(folder_ / "many" / (std::to_string(i * 7919 % 20000) + ".mp3"));
    drag_files_onto_row(LIST, 0, files);
    ASSERT_EQ(next_drop(100), EVENT_GADGET_DROP);
    EXPECT_EQ(dropped_files(), joined(files));
    EXPECT_TRUE(drop_events().empty()) << "a second drop event";
}

TEST_F(DropBehaviourTest, ADropOntoARowSelectsItAndBelowTheRowsClearsTheSelection) {
    gadget_state_set(LIST, 0);
    drag_files_onto_row(LIST, 2, files_);
    EXPECT_EQ(gadget_state_get(LIST), 2);
    EXPECT_EQ(drop_events().size(), 1u);

    const DropPoint below = drag_files_onto_row(LIST, -1, files_);
    EXPECT_EQ(gadget_state_get(LIST), -1);
    const std::vector<SeenDrop> events = drop_events();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].record.y, below.y);
}

struct KeysCase {
    int keys;
    int action;
};

TEST_F(DropBehaviourTest, CtrlAndShiftOrAltHeldMakeALinkOtherwiseACopy) {
    const KeysCase cases[] = {
        {DROP_KEY_CONTROL | DROP_KEY_SHIFT, DROP_ACTION_LINK},
        {DROP_KEY_ALT, DROP_ACTION_LINK},
        {0, DROP_ACTION_COPY},
    };
    for (const KeysCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "keys " << c.keys);
        drag_files_onto_row(LIST, 2, files_, c.keys);
        const std::vector<SeenDrop> events = drop_events();
        ASSERT_EQ(events.size(), 1u);
        EXPECT_EQ(events[0].record.action, c.action);
        EXPECT_EQ(gadget_state_get(LIST), 2);
    }
}

TEST_F(DropBehaviourTest, EnablingFilesAgainChangesTheActionsAndWithdrawingThemRefusesDrops) {
    gadget_drop_enable(LIST, DROP_FORMAT_FILES, DROP_ACTION_COPY);
    drag_files_onto_row(LIST, 0, files_, DROP_KEY_ALT);
    std::vector<SeenDrop> events = drop_events();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].record.action, DROP_ACTION_COPY) << "no link allowed any more";

    gadget_drop_enable(LIST, DROP_FORMAT_FILES, DROP_ACTION_LINK);
    drag_files_onto_row(LIST, 0, files_);
    events = drop_events();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].record.action, DROP_ACTION_LINK);

    gadget_drop_enable(LIST, DROP_FORMAT_FILES, 0);
    gadget_state_set(LIST, -1);
    drag_files_onto_row(LIST, 1, files_);
    EXPECT_TRUE(drop_events().empty());
    EXPECT_EQ(gadget_state_get(LIST), -1);
}

TEST_F(DropBehaviourTest, AListThatTakesNoFilesGetsNoDrop) {
    ASSERT_NE(gadget_list_view(1, 320, 10, 150, 200), 0);
    gadget_item_add(1, -1, u"only");
    drag_files_onto_row(1, 0, files_);
    EXPECT_TRUE(drop_events().empty());
    EXPECT_EQ(gadget_state_get(1), -1);
}

TEST_F(DropBehaviourTest, AWindowTakesFilesDroppedBesideItsGadgetsUntilItsFilesAreWithdrawn) {
    window_drop_enable(WINDOW, DROP_FORMAT_FILES, DROP_ACTION_COPY);
    const DropPoint at = drag_files_onto_window(WINDOW, 400, 300, files_);
    std::vector<SeenDrop> events = drop_events();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, EVENT_WINDOW_DROP);
    EXPECT_EQ(events[0].window, WINDOW);
    EXPECT_EQ(events[0].record.action, DROP_ACTION_COPY);
    EXPECT_EQ(events[0].record.x, at.x);
    EXPECT_EQ(events[0].record.y, at.y);
    EXPECT_EQ(events[0].files, joined(files_));

    window_drop_enable(WINDOW, DROP_FORMAT_FILES, 0);
    drag_files_onto_window(WINDOW, 400, 300, files_);
    EXPECT_TRUE(drop_events().empty());
}

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
    EXPECT_EQ(dropped_files(), joined(files_));
    EXPECT_EQ(gadget_state_get(LIST), 1);
}

TEST_F(DropBehaviourTest, ADropWhoseWindowClosesBeforeItIsReadGoesWithIt) {
    drag_files_onto_row(LIST, 2, files_);
    ASSERT_EQ(drop_record_live_count(), 1);  // dropped, not read yet
    window_close(WINDOW);
    EXPECT_EQ(drop_record_live_count(), 0);
    EXPECT_EQ(next_drop(10), 0);
    EXPECT_EQ(dropped_files(), u"");
}

}  // namespace
