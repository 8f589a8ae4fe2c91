// The editing commands on the real list gadget and store: drops through the
// list's drop target, delete, move up and down, shuffle and New.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/playlist.h"
#include "app/playlist_file.h"
#include "runtime/gui/gadget.h"
#include "tests/app/app_support.h"
#include "tests/support/person.h"

namespace {

using Rows = std::vector<std::u16string>;

// The entry a drop of the player's file gives.
Entry dropped(const std::u16string& player_path) { return {player_path, player_file(player_path)}; }

std::vector<std::u16string> local_paths(const Rows& player_paths) {
    std::vector<std::u16string> paths;
    for (const std::u16string& path : player_paths) paths.push_back(player_file(path));
    return paths;
}

class Editing : public AppTest {
protected:
    // Drops the tracks and marks the list saved, as after a save.
    void make_list(const Rows& player_paths) {
        ASSERT_TRUE(drop_files(local_paths(player_paths)));
        ASSERT_EQ(rows(), player_paths);
        app.is_saved = 1;
    }
    void expect_in_step(const Rows& expected) {
        EXPECT_EQ(rows(), expected);
        std::vector<Entry> expected_entries;
        for (const std::u16string& path : expected) expected_entries.push_back(dropped(path));
        EXPECT_EQ(entries(), expected_entries);
    }
};

TEST_F(Editing, DropShowsThePathThePlayerSees) {
    ASSERT_TRUE(drop_files({player_file(u"/Music/Rock/x.mp3")}));
    EXPECT_EQ(rows(), Rows{u"/Music/Rock/x.mp3"});
    EXPECT_EQ(entries(), (std::vector<Entry>{{u"/Music/Rock/x.mp3", player_file(u"/Music/Rock/x.mp3")}}));
    EXPECT_EQ(app.is_saved, 0);
}

TEST_F(Editing, ALongDroppedPathIsCopiedWhole) {
    // Long enough that building the player path moves the builder's buffer
    // while the local path is still to be copied; short enough for Linux's
    // path limit.
    std::u16string player;
    for (int i = 0; player.size() < 3000; ++i) player += u"/folder" + std::u16string(1, u'a' + i % 26);
    player += u"/song.mp3";
    const std::u16string local = player_file(player);
    ASSERT_TRUE(drop_files({player_file(u"/first.mp3"), local, player_file(u"/last.mp3")}));
    EXPECT_EQ(rows(), (Rows{u"/first.mp3", player, u"/last.mp3"}));
    EXPECT_EQ(entries()[1], (Entry{player, local}));
}

TEST_F(Editing, DropAppendsEveryFileInOrderWhateverIsSelected) {
    make_list({u"/a.mp3", u"/b.mp3", u"/c.mp3"});
    gadget_state_set(PLAYLIST_GADGET, 1);
    // Three at once over the middle row: a folder, another kind of file and a
    // file already in the list are all taken.
    ASSERT_TRUE(drop_files({player_folder(u"/Music/Albums"), player_file(u"/notes.txt"), player_file(u"/a.mp3")}, 1));
    EXPECT_EQ(selected_row(), 1) << "the drop selects the row under the pointer";
    expect_in_step({u"/a.mp3", u"/b.mp3", u"/c.mp3", u"/Music/Albums", u"/notes.txt", u"/a.mp3"});
    EXPECT_EQ(app.is_saved, 0);

    // Below the last row, after a move: still at the end.
    gadget_state_set(PLAYLIST_GADGET, 0);
    MoveTrackDown();
    ASSERT_TRUE(drop_files({player_file(u"/d.mp3")}));
    expect_in_step({u"/b.mp3", u"/a.mp3", u"/c.mp3", u"/Music/Albums", u"/notes.txt", u"/a.mp3", u"/d.mp3"});
}

TEST_F(Editing, DeleteRemovesTheSelectedRowAndItsEntry) {
    make_list({u"/1.mp3", u"/2.mp3", u"/3.mp3", u"/4.mp3", u"/5.mp3"});
    gadget_state_set(PLAYLIST_GADGET, -1);
    DeleteTrack();
    expect_in_step({u"/1.mp3", u"/2.mp3", u"/3.mp3", u"/4.mp3", u"/5.mp3"});
    EXPECT_EQ(app.is_saved, 1) << "nothing to delete: still saved";

    gadget_state_set(PLAYLIST_GADGET, 1);
    DeleteTrack();
    expect_in_step({u"/1.mp3", u"/3.mp3", u"/4.mp3", u"/5.mp3"});
    EXPECT_EQ(app.is_saved, 0);
    EXPECT_EQ(selected_row(), -1) << "no other row is selected";

    gadget_state_set(PLAYLIST_GADGET, 3);
    DeleteTrack();
    expect_in_step({u"/1.mp3", u"/3.mp3", u"/4.mp3"});
}

TEST_F(Editing, MoveExchangesRowsAndEntriesAndTheSelectionFollows) {
    make_list({u"/a.mp3", u"/b.mp3", u"/c.mp3"});
    gadget_state_set(PLAYLIST_GADGET, 0);
    MoveTrackUp();
    gadget_state_set(PLAYLIST_GADGET, 2);
    MoveTrackDown();
    gadget_state_set(PLAYLIST_GADGET, -1);
    MoveTrackUp();
    MoveTrackDown();
    expect_in_step({u"/a.mp3", u"/b.mp3", u"/c.mp3"});
    EXPECT_EQ(app.is_saved, 1) << "first up, last down and no selection do nothing";

    gadget_state_set(PLAYLIST_GADGET, 0);
    MoveTrackDown();
    expect_in_step({u"/b.mp3", u"/a.mp3", u"/c.mp3"});
    EXPECT_EQ(selected_row(), 1);
    EXPECT_EQ(app.is_saved, 0);

    gadget_state_set(PLAYLIST_GADGET, 2);
    MoveTrackUp();
    expect_in_step({u"/b.mp3", u"/c.mp3", u"/a.mp3"});
    EXPECT_EQ(selected_row(), 1);
    MoveTrackUp();
    expect_in_step({u"/c.mp3", u"/b.mp3", u"/a.mp3"});
    EXPECT_EQ(selected_row(), 0);
}

TEST_F(Editing, ShuffleRebuildsTheRowsFromTheStore) {
    make_list({u"/only.mp3"});
    ShuffleTracks();
    expect_in_step({u"/only.mp3"});
    EXPECT_EQ(app.is_saved, 1) << "one row: nothing to shuffle";

    Rows original;
    for (int i = 0; i < 12; ++i) original.push_back(u"/track" + std::u16string(1, char16_t(u'a' + i)) + u".mp3");
    ClearPlaylist();
    make_list(original);
    bool order_changed = false;
    for (int round = 0; round < 3; ++round) {
        app.is_saved = 1;
        ShuffleTracks();
        EXPECT_EQ(app.is_saved, 0);
        Rows shuffled = rows();
        std::vector<Entry> stored = entries();
        ASSERT_EQ(shuffled.size(), original.size());
        ASSERT_EQ(stored.size(), original.size());
        for (std::size_t i = 0; i < shuffled.size(); ++i) EXPECT_EQ(stored[i], dropped(shuffled[i]));
        EXPECT_TRUE(std::is_permutation(shuffled.begin(), shuffled.end(), original.begin()));
        order_changed = order_changed || shuffled != original;
    }
    EXPECT_TRUE(order_changed) << "three shuffles of 12 rows all kept the order";
}

class NewPlaylistTest : public Editing {};

TEST_F(NewPlaylistTest, SavedListIsClearedWithoutAsking) {
    make_list({u"/a.mp3"});
    app.playlist_path = u16(path(L"old.m3u")).c_str();
    Person person({});
    NewPlaylist();
    EXPECT_TRUE(person.done().empty());
    EXPECT_TRUE(rows().empty());
    EXPECT_TRUE(entries().empty());
    EXPECT_TRUE(app.playlist_path.empty());
    EXPECT_EQ(main_title(), title_for(L""));
}

TEST_F(NewPlaylistTest, CancelKeepsEverything) {
    make_list({u"/a.mp3", u"/b.mp3"});
    app.is_saved = 0;
    app.playlist_path = u16(path(L"old.m3u")).c_str();
    Person person({press(ANSWER_CANCEL)});
    NewPlaylist();
    std::vector<SeenDialog> seen = person.done();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].title, L"Unsaved Data!");
    EXPECT_EQ(seen[0].text,
              as_shown(L"Your work has not been saved yet!\r\nDo you want to save before starting over?"));
    expect_in_step({u"/a.mp3", u"/b.mp3"});
    EXPECT_EQ(app.is_saved, 0);
    EXPECT_EQ(wide(app.playlist_path.c_str()), path(L"old.m3u"));
    EXPECT_FALSE(exists(path(L"old.m3u")));
}

TEST_F(NewPlaylistTest, NoDiscardsTheRowsAndForgetsTheFile) {
    make_list({u"/a.mp3"});
    app.is_saved = 0;
    app.playlist_path = u16(path(L"old.m3u")).c_str();
    Person person({press(ANSWER_NO)});
    NewPlaylist();
    EXPECT_EQ(person.done().size(), 1u);
    EXPECT_TRUE(rows().empty());
    EXPECT_TRUE(entries().empty());
    EXPECT_EQ(app.is_saved, 1);
    EXPECT_TRUE(app.playlist_path.empty());
    EXPECT_EQ(main_title(), title_for(L""));
    EXPECT_FALSE(exists(path(L"old.m3u")));

    // The next Save asks for a name rather than overwriting old.m3u.
    ASSERT_TRUE(drop_files({player_file(u"/b.mp3")}));
    Person saver({cancel_dialog()});
    SavePlaylist();
    std::vector<SeenDialog> seen = saver.done();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].title, L"Save file");
    EXPECT_FALSE(exists(path(L"old.m3u")));
}

TEST_F(NewPlaylistTest, YesSavesThenClearsAndTells) {
    make_list({u"/a.mp3", u"/b.mp3"});
    app.is_saved = 0;
    Person person({press(ANSWER_YES), choose_file(path(L"kept.m3u")), press(ANSWER_OK)});
    NewPlaylist();
    std::vector<SeenDialog> seen = person.done();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].title, L"Unsaved Data!");
    EXPECT_EQ(seen[1].title, L"Save file");
    EXPECT_EQ(seen[2].title, L"Data Saved!");
    EXPECT_EQ(seen[2].text, L"Changes saved to " + path(L"kept.m3u"));
    EXPECT_EQ(read_file_bytes(path(L"kept.m3u")), std::string("/a.mp3\r\n/b.mp3\r\n"));
    EXPECT_TRUE(rows().empty());
    EXPECT_TRUE(entries().empty());
    EXPECT_EQ(app.is_saved, 1);
    EXPECT_TRUE(app.playlist_path.empty());
    EXPECT_EQ(main_title(), title_for(L""));

    ASSERT_TRUE(drop_files({player_file(u"/c.mp3")}));
    Person saver({cancel_dialog()});
    SavePlaylist();
    seen = saver.done();
    ASSERT_EQ(seen.size(), 1u) << "the next Save asks for a name";
    EXPECT_EQ(seen[0].title, L"Save file");
    EXPECT_EQ(read_file_bytes(path(L"kept.m3u")), std::string("/a.mp3\r\n/b.mp3\r\n"));
}

TEST_F(NewPlaylistTest, YesWithACancelledSaveKeepsTheRows) {
    make_list({u"/a.mp3"});
    app.is_saved = 0;
    Person person({press(ANSWER_YES), cancel_dialog()});
    NewPlaylist();
    EXPECT_EQ(person.done().size(), 2u) << "no \"Data Saved!\"";
    expect_in_step({u"/a.mp3"});
    EXPECT_EQ(app.is_saved, 0);
    EXPECT_TRUE(names_in(folder_).empty());
}

// Rows dragged to another place by the person's mouse, as the main loop hands
// the list's events to the program.
Rows numbered_rows(int count) {
    Rows made;
    for (int i = 1; i <= count; ++i) made.push_back(u"/" + std::u16string(1, u'0' + i) + u".mp3");
    return made;
}

TEST_F(Editing, DraggingRow5Of8AboveRow1SavesTheNewOrder) {
    make_list(numbered_rows(8));
    drag_row(4, 0, 1);
    EXPECT_EQ(handle_list_events(), 1);
    expect_in_step({u"/5.mp3", u"/1.mp3", u"/2.mp3", u"/3.mp3", u"/4.mp3", u"/6.mp3", u"/7.mp3", u"/8.mp3"});
    EXPECT_EQ(selected_row(), 0) << "the moved row stays selected";
    EXPECT_EQ(app.is_saved, 0);
    Person person({choose_file(path(L"moved.m3u"))});
    SavePlaylistAs();
    EXPECT_EQ(person.done().size(), 1u);
    EXPECT_EQ(read_file_bytes(path(L"moved.m3u")),
              std::string("/5.mp3\r\n/1.mp3\r\n/2.mp3\r\n/3.mp3\r\n/4.mp3\r\n/6.mp3\r\n/7.mp3\r\n/8.mp3\r\n"));
}

TEST_F(Editing, DraggingRow1BelowTheLastRowMakesItLast) {
    make_list(numbered_rows(8));
    drag_row(0, 7, 3);
    EXPECT_EQ(handle_list_events(), 1);
    expect_in_step({u"/2.mp3", u"/3.mp3", u"/4.mp3", u"/5.mp3", u"/6.mp3", u"/7.mp3", u"/8.mp3", u"/1.mp3"});
    EXPECT_EQ(selected_row(), 7);
    EXPECT_EQ(app.is_saved, 0);
}

TEST_F(Editing, ADragCancelledWithEscapeOrReleasedOutsideTheListChangesNothing) {
    make_list(numbered_rows(8));
    press_row(PLAYLIST_GADGET, 4);
    move_pointer_by(2, offset_to_row(4, 0, 1));
    press_key(Key::Escape);
    settle();
    release_pointer();
    EXPECT_EQ(handle_list_events(), 0);

    const ShownBox list = shown_box(PLAYLIST_GADGET);
    press_row(PLAYLIST_GADGET, 4);
    move_pointer_by(2, offset_to_row(4, 0, 1));
    move_pointer_by(list.width, offset_to_row(4, 0, 1));  // right of the list, level with row 1
    release_pointer();
    EXPECT_EQ(handle_list_events(), 0);
    expect_in_step(numbered_rows(8));
    EXPECT_EQ(app.is_saved, 1);
}

TEST_F(Editing, DraggingPastTheTopScrollsALongListToItsFirstRow) {
    // Rows of the program's own, without their files: nothing here plays or saves them.
    Rows made;
    for (int i = 0; i < 500; ++i) {
        made.push_back(u"/Music/" + std::u16string(1, u'a' + i % 26) + u"/" + std::u16string(1, u'a' + i / 26) + u".mp3");
        AppendTrack(made.back().c_str(), made.back().c_str());
    }
    app.is_saved = 1;
    gadget_state_set(PLAYLIST_GADGET, 480);  // shown, as after a click there
    settle();
    const ShownBox list = shown_box(PLAYLIST_GADGET);
    const ShownBox pressed = shown_row(PLAYLIST_GADGET, 480);
    const int to_above_list = list.y - 100 - (pressed.y + pressed.height / 2);
    press_row(PLAYLIST_GADGET, 480);
    move_pointer_by(2, to_above_list);
    const auto started = std::chrono::steady_clock::now();
    while (shown_row(PLAYLIST_GADGET, 0).y < list.y && std::chrono::steady_clock::now() - started < std::chrono::seconds(5))
        settle();
    const auto took = std::chrono::steady_clock::now() - started;
    EXPECT_LT(took, std::chrono::seconds(5)) << "row 1 shown within a few seconds";
    move_pointer_by(2, shown_row(PLAYLIST_GADGET, 0).y + shown_row(PLAYLIST_GADGET, 0).height / 4 -
                           (pressed.y + pressed.height / 2));
    release_pointer();
    EXPECT_EQ(handle_list_events(), 1);
    std::rotate(made.begin(), made.begin() + 480, made.begin() + 481);
    EXPECT_EQ(rows(), made);
    EXPECT_EQ(entries().front(), (Entry{made.front(), made.front()}));
    EXPECT_EQ(entries().size(), 500u);
    EXPECT_EQ(selected_row(), 0);
}

}  // namespace
