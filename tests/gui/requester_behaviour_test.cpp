// Requesters with the platform's real dialogs, answered by a person, the same
// on every back end: what a requester returns for the button pressed or the
// path typed, what it shows (title, text, buttons, the default file's folder
// and name, the file types), and that the program's other windows take no
// input while it is open, their shortcuts included, suspended and restored in
// nested pairs.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/person.h"
#include "tests/gui/requester_suite.h"
#include "tests/gui/window_events.h"
#include "tests/support/key_input.h"

namespace {

constexpr char16_t PLAYLIST_PATTERN[] = u"Playlist (*.m3u)|*.m3u";

class Requesters : public RequesterSuite {
protected:
    // A file dialog of either kind.
    static char16_t* ask_file(bool save, const char16_t* title, const std::u16string& start,
                              const char16_t* pattern = PLAYLIST_PATTERN, int position = 0) {
        return save ? requester_save_file(title, start.c_str(), pattern, position)
                    : requester_open_file(title, start.c_str(), pattern, position);
    }
};

struct MessageCase {
    int flags;
    Press button;
    int answer;
    std::vector<Press> buttons;  // the ones the flags ask for, and no others
    Icon icon;
};

TEST_F(Requesters, AMessageBoxShowsTheButtonsAndIconOfItsFlagsAndReturnsThePressedOne) {
    const std::vector<Press> ok{Press::Ok}, yes_no{Press::Yes, Press::No},
        yes_no_cancel{Press::Cancel, Press::Yes, Press::No};
    constexpr int QUESTION = REQUESTER_ICON_QUESTION;
    const MessageCase cases[] = {
        {REQUESTER_OK, Press::Ok, ANSWER_OK, ok, Icon::None},
        {REQUESTER_ICON_INFORMATION, Press::Ok, ANSWER_OK, ok, Icon::Information},
        {REQUESTER_YES_NO_CANCEL | QUESTION, Press::Cancel, ANSWER_CANCEL, yes_no_cancel, Icon::Question},
        {REQUESTER_YES_NO_CANCEL | QUESTION, Press::Yes, ANSWER_YES, yes_no_cancel, Icon::Question},
        {REQUESTER_YES_NO_CANCEL | QUESTION, Press::No, ANSWER_NO, yes_no_cancel, Icon::Question},
        {REQUESTER_YES_NO | QUESTION, Press::Yes, ANSWER_YES, yes_no, Icon::Question},
        {REQUESTER_YES_NO | QUESTION, Press::No, ANSWER_NO, yes_no, Icon::Question},
        // Closing a box is Cancel, or OK when OK is its only button.
        {REQUESTER_YES_NO_CANCEL, Press::Close, ANSWER_CANCEL, yes_no_cancel, Icon::None},
        {REQUESTER_OK, Press::Escape, ANSWER_OK, ok, Icon::None},
    };
    for (const MessageCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "flags " << c.flags << ", button " << static_cast<int>(c.button));
        RequesterAnswer person(c.button);
        EXPECT_EQ(requester_message(u"Question", u"Go on?", c.flags), c.answer);
        EXPECT_TRUE(person.answered());
        EXPECT_EQ(person.requesters_shown(), 1);
        EXPECT_EQ(person.seen().buttons, c.buttons);
        EXPECT_EQ(person.seen().icon, c.icon);
    }
}

TEST_F(Requesters, AMessageBoxShowsItsTitleAndTextOverItsOwner) {
    EXPECT_EQ(requester_owner(), window_handle(MAIN));
    {
        RequesterAnswer person(Press::Yes);
        EXPECT_EQ(requester_message(u"Unsaved Data!",
                                    u"Your work has not been saved yet!\r\nDo you want to save before closing the "
                                    u"application?\rNow? \u266b",
                                    REQUESTER_YES_NO | REQUESTER_ICON_QUESTION),
                  ANSWER_YES);
        EXPECT_EQ(person.seen().title, u"Unsaved Data!");
        EXPECT_EQ(person.seen().text,
                  u"Your work has not been saved yet!\nDo you want to save before closing the application?\nNow? \u266b");
        EXPECT_EQ(person.seen().owner, MAIN);
    }
    // No title and no text read as empty ones.
    RequesterAnswer person(Press::Ok);
    EXPECT_EQ(requester_message(nullptr, nullptr, REQUESTER_OK), ANSWER_OK);
    EXPECT_TRUE(person.answered());
    EXPECT_EQ(person.seen().title, u"");
    EXPECT_EQ(person.seen().text, u"");
}

TEST_F(Requesters, OtherWindowsTakeNoInputWhileARequesterIsOpen) {
    constexpr ObjectNumber PLAIN = 1, HIDDEN = 2, DISABLED = 3;
    ASSERT_NE(window_open(PLAIN, 450, 0, 200, 100, u"Plain", 0xCF0000), 0);
    ASSERT_NE(window_open(HIDDEN, 450, 150, 200, 100, u"Hidden", 0xCF0000 | WINDOW_HIDDEN), 0);
    ASSERT_NE(window_open(DISABLED, 450, 300, 200, 100, u"Disabled before", 0xCF0000), 0);
    disable_window(DISABLED);
    for (bool file_dialog : {false, true}) {
        SCOPED_TRACE(file_dialog ? "save dialog" : "message box");
        bring_to_front(MAIN);  // as the person would before asking again
        RequesterAnswer person(file_dialog ? Press::Cancel : Press::Ok);
        if (file_dialog)
            requester_save_file(u"Save file", u"Playlist.m3u", PLAYLIST_PATTERN, 0);
        else
            EXPECT_EQ(requester_message(u"Data Saved!", u"Changes saved to C:\\x.m3u", REQUESTER_OK), ANSWER_OK);
        ASSERT_TRUE(person.answered());
        const SeenRequester& seen = person.seen();
        EXPECT_EQ(seen.owner, MAIN);
        EXPECT_FALSE(seen.taking_input.at(PLAIN));
        EXPECT_FALSE(seen.taking_input.at(DISABLED));
        EXPECT_TRUE(seen.taking_input.at(HIDDEN)) << "a hidden window is left alone";

        EXPECT_TRUE(window_takes_input(MAIN));
        EXPECT_TRUE(window_takes_input(PLAIN));
        EXPECT_TRUE(window_takes_input(HIDDEN));
        EXPECT_FALSE(window_takes_input(DISABLED)) << "disabled before the requester, so disabled after it";
    }
}

TEST_F(Requesters, SuspendAndRestoreNest) {
    constexpr ObjectNumber OTHER = 1, CLOSED_MEANWHILE = 2;
    ASSERT_NE(window_open(OTHER, 450, 0, 200, 100, u"Other", 0xCF0000), 0);
    ASSERT_NE(window_open(CLOSED_MEANWHILE, 450, 150, 200, 100, u"Closed meanwhile", 0xCF0000), 0);
    bring_to_front(MAIN);

    windows_suspend();
    EXPECT_TRUE(window_takes_input(MAIN)) << "the foreground window owns the requester";
    EXPECT_FALSE(window_takes_input(OTHER));
    windows_suspend();
    window_close(CLOSED_MEANWHILE);
    windows_restore();
    EXPECT_FALSE(window_takes_input(OTHER)) << "the outer requester is still open";
    windows_restore();
    EXPECT_TRUE(window_takes_input(OTHER));

    windows_restore();  // no suspend left: nothing changes
    EXPECT_TRUE(window_takes_input(OTHER));
    EXPECT_TRUE(window_takes_input(MAIN));
}

TEST_F(Requesters, FileDialogsStartInTheDefaultFilesFolderAndCancelGivesTheEmptyText) {
    for (bool save : {false, true}) {
        SCOPED_TRACE(save ? "save" : "open");
        bring_to_front(MAIN);
        text_builder_rewind(mark_);
        RequesterAnswer person(Press::Cancel);
        char16_t* chosen = ask_file(save, save ? u"Save file" : u"Open M3U file", default_file(u"list.m3u"),
                                    u"Playlist (*.m3u) | *.m3u");
        ASSERT_TRUE(person.answered());
        ASSERT_NE(chosen, nullptr);
        EXPECT_EQ(text(chosen), u"");
        EXPECT_EQ(chosen, text_builder_address(mark_));
        EXPECT_EQ(person.requesters_shown(), 1);
        EXPECT_EQ(person.seen().title, save ? u"Save file" : u"Open M3U file");
        EXPECT_EQ(person.seen().owner, MAIN);
        EXPECT_TRUE(std::filesystem::equivalent(person.seen().folder, folder_)) << person.seen().folder;
        if (save) {
            EXPECT_EQ(person.seen().name, u"list.m3u");
        }
        EXPECT_EQ(person.seen().file_types, std::vector<std::u16string>{u"Playlist (*.m3u) "});
        EXPECT_EQ(person.seen().file_type, 0);
    }
}

TEST_F(Requesters, ATypedPathComesBackWithTheFileTypesAsGiven) {
    std::ofstream(folder_ / "songs.m3u") << "/Music/a.mp3\r\n";
    for (bool save : {false, true}) {
        SCOPED_TRACE(save ? "save" : "open");
        bring_to_front(MAIN);
        text_builder_rewind(mark_);
        const std::filesystem::path typed = folder_ / (save ? "typed by hand.m3u" : "songs.m3u");
        RequesterAnswer person(typed);
        char16_t* chosen = ask_file(save, u"Choose", default_file(u"list.m3u"),
                                    u"Playlist (*.m3u)|*.m3u|All files (*.*)|*.*", 1);
        EXPECT_EQ(text(chosen), typed.u16string());
        EXPECT_EQ(chosen, text_builder_address(mark_)) << "built at the builder's current position";
        EXPECT_EQ(person.requesters_shown(), 1);
        EXPECT_EQ(person.seen().file_types,
                  (std::vector<std::u16string>{u"Playlist (*.m3u)", u"All files (*.*)"}));
        EXPECT_EQ(person.seen().file_type, 1) << "pattern position 1 is the second pair";
    }
}

TEST_F(Requesters, SaveProposesThePlainDefaultName) {
    RequesterAnswer person(Press::Ok);
    const std::u16string chosen = text(requester_save_file(u"Save file", u"Playlist.m3u", PLAYLIST_PATTERN, 0));
    ASSERT_TRUE(person.answered());
    EXPECT_EQ(person.seen().name, u"Playlist.m3u");
    ASSERT_FALSE(person.seen().folder.empty());
    EXPECT_EQ(chosen, (person.seen().folder / "Playlist.m3u").u16string());
}

TEST_F(Requesters, SavingOverAnExistingFileAsksNothing) {
    std::ofstream(folder_ / "exists.m3u") << "x\r\n";
    RequesterAnswer person(folder_ / "exists.m3u");
    EXPECT_EQ(text(requester_save_file(u"Save file as", default_file(u"exists.m3u").c_str(), PLAYLIST_PATTERN, 0)),
              (folder_ / "exists.m3u").u16string());
    EXPECT_EQ(person.requesters_shown(), 1) << "no overwrite prompt";
    EXPECT_EQ(person.seen().name, u"exists.m3u");
}

TEST_F(Requesters, InvalidDefaultNamesAreDropped) {
    for (bool save : {false, true})
        for (const char16_t* name : {u"*.m3u", u"\\list.m3u"}) {
            SCOPED_TRACE(std::string(name, name + std::char_traits<char16_t>::length(name)) +
                         (save ? ", save" : ", open"));
            RequesterAnswer person(Press::Cancel);
            ask_file(save, u"Save file", name);
            ASSERT_TRUE(person.answered());
            EXPECT_EQ(person.seen().name, u"");
        }
}

// Keys pressed at a window while a requester is open run none of its
// shortcuts, then or after; once the requester went they work again.
TEST_F(Requesters, AWindowsShortcutsDoNothingWhileARequesterIsOpen) {
    ASSERT_EQ(window_shortcut_add(MAIN, KEY_DELETE, 0, 4), 1);
    ASSERT_EQ(window_shortcut_add(MAIN, 'S', KEY_CONTROL, 2), 1);
    const auto menu_items = [] {
        std::vector<ObjectNumber> items;
        for (const Event& event : events_within())
            if (event.kind == EVENT_MENU) items.push_back(event.object);
        return items;
    };
    {
        RequesterAnswer person(Press::Ok, [] {
            give_keyboard_focus(window_handle(MAIN));  // the person turns to the window behind
            press_runtime_key(KEY_DELETE, 0, 3);
            press_runtime_key('S', KEY_CONTROL);
            // and looks again before answering: the keys reach the platform first.
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
        });
        requester_message(u"Help & Info", u"Keys", REQUESTER_OK);
        ASSERT_TRUE(person.answered());
    }
    EXPECT_EQ(menu_items(), std::vector<ObjectNumber>{});
    bring_to_front(MAIN);
    press_runtime_key(KEY_DELETE);
    EXPECT_EQ(menu_items(), std::vector<ObjectNumber>{4});
}

// A row dragged in a window of the program while a requester is open moves
// nothing, then or after; once the requester went the same drag moves it.
TEST_F(Requesters, ARowDraggedWhileARequesterIsOpenMovesNothing) {
    // A window beside the main one, clear of the requester over it.
    constexpr ObjectNumber OTHER = 1, LIST = 7;
    ASSERT_NE(window_open(OTHER, 600, 40, 400, 300, u"Other", 0xCF0000), 0);
    ASSERT_NE(gadget_list_view(LIST, 10, 10, 300, 200), 0);
    gadget_reorder_enable(LIST, 1);
    for (const char16_t* row : {u"a", u"b", u"c", u"d"}) gadget_item_add(LIST, -1, row);
    focus_gadget(LIST);
    settle();
    const ShownBox from = shown_row(LIST, 3), onto = shown_row(LIST, 0);
    const int dy = onto.y + onto.height / 4 - (from.y + from.height / 2);
    const auto drag = [dy] {
        press_row(LIST, 3);
        move_pointer_by(2, dy);
        release_pointer();
    };
    const auto moves = [] {
        const std::vector<Event> events = events_within();
        return std::count(events.begin(), events.end(), Event{EVENT_GADGET, LIST, OTHER, GADGET_ITEM_MOVED});
    };
    bring_to_front(MAIN);
    {
        RequesterAnswer person(Press::Ok, drag);
        requester_message(u"Help & Info", u"Drag", REQUESTER_OK);
        ASSERT_TRUE(person.answered());
    }
    EXPECT_EQ(moves(), 0);
    drag();
    EXPECT_EQ(moves(), 1);
}

}  // namespace
