// The main window's keys, pressed through the platform as a person presses
// them: each does what its toolbar button does from the same start (the same
// prompts and boxes, answered alike), nothing harmful with nothing selected;
// the arrow and page keys move the list's selection as a click does; keys
// held down over a long list lose nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/playback.h"
#include "app/playlist.h"
#include "app/playlist_file.h"
#include "app/startup.h"
#include "runtime/gui/event.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/window.h"
#include "runtime/list/list.h"
#include "tests/app/app_support.h"
#include "tests/support/file_bytes.h"
#include "tests/support/key_input.h"
#include "tests/support/program_texts.h"

namespace {

using Rows = std::vector<std::u16string>;

std::u16string track(int i) { return u"/k" + u16(std::to_wstring(i)) + u".mp3"; }

// What a command leaves that a person can see or find on disk.
struct Outcome {
    Rows rows;
    std::vector<Entry> entries;
    int selected;
    int is_saved;
    std::wstring title;
    std::u16string path;
    std::vector<std::wstring> seen;  // each box's title and text
    std::string written;             // the bytes of keys.m3u, "" when none
    bool operator==(const Outcome&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Outcome& o) {
    out << "{rows " << o.rows.size() << ", selected " << o.selected << ", saved " << o.is_saved << ", boxes";
    for (const std::wstring& box : o.seen) out << " [" << utf8(u16(box)) << "]";
    return out << ", written " << o.written.size() << " bytes}";
}

class Keys : public AppTest {
protected:
    // count rows, each with its entry; the row selected (-1: none); saved.
    // A short list's tracks are files on the player, so that Save finds
    // every row as written; a long one's are names only.
    void make_list(int count, int selected = -1) {
        ClearPlaylist();
        gadget_redraw(PLAYLIST_GADGET, 0);
        local_of_.clear();
        for (int i = 0; i < count; ++i) {
            const std::u16string local = count <= 20 ? player_file(track(i)) : u"/local" + track(i);
            local_of_[track(i)] = local;
            AppendTrack(track(i).c_str(), local.c_str());
        }
        gadget_redraw(PLAYLIST_GADGET, 1);
        gadget_state_set(PLAYLIST_GADGET, selected);
        app.is_saved = 1;
        app.playlist_path = nullptr;
        UpdateTitle();
        remove_tree(path(L"keys.m3u"));
    }
    Outcome outcome(const std::vector<SeenDialog>& seen) {
        Outcome o{rows(), entries(), selected_row(), app.is_saved, main_title(), app.playlist_path.c_str(), {}, {}};
        for (const SeenDialog& box : seen) o.seen.push_back(box.title + L"\n" + box.text);
        o.written = read_file_bytes(path(L"keys.m3u")).value_or("");
        return o;
    }
    // From the same start, the button's command as its click runs it, and
    // then the key; both answered alike. Result: what the key left.
    Outcome expect_as_button(int key, int modifiers, ToolItem button, const std::function<void()>& start,
                             const std::vector<Answer>& answers = {}) {
        start();
        Outcome by_button;
        {
            Person person(answers);
            RunToolbarCommand(button);
            by_button = outcome(person.done());
        }
        start();
        Outcome by_key;
        {
            Person person(answers);
            press_in_main_window(key, modifiers);
            by_key = outcome(person.done());
        }
        EXPECT_EQ(by_key, by_button) << "key " << key << " with modifiers " << modifiers;
        return by_key;
    }
    void expect_in_step() {
        const Rows shown = rows();
        const std::vector<Entry> kept = entries();
        ASSERT_EQ(kept.size(), shown.size());
        for (std::size_t i = 0; i < shown.size(); ++i) {
            ASSERT_EQ(kept[i].player_path, shown[i]) << "row " << i;
            ASSERT_EQ(kept[i].local_path, local_of_[shown[i]]) << "row " << i;
        }
    }

private:
    std::map<std::u16string, std::u16string> local_of_;
};

TEST_F(Keys, DeleteMoveAndShuffleKeysDoWhatTheirButtonsDo) {
    Outcome left = expect_as_button(KEY_DELETE, 0, ToolDeleteTrack, [&] { make_list(5, 2); });
    EXPECT_EQ(left.rows, (Rows{track(0), track(1), track(3), track(4)}));
    EXPECT_EQ(left.is_saved, 0);
    left = expect_as_button(KEY_UP, KEY_ALT, ToolMoveUp, [&] { make_list(5, 2); });
    EXPECT_EQ(left.rows, (Rows{track(0), track(2), track(1), track(3), track(4)}));
    EXPECT_EQ(left.selected, 1);
    left = expect_as_button(KEY_DOWN, KEY_ALT, ToolMoveDown, [&] { make_list(5, 2); });
    EXPECT_EQ(left.rows, (Rows{track(0), track(1), track(3), track(2), track(4)}));
    EXPECT_EQ(left.selected, 3);
    left = expect_as_button('R', KEY_CONTROL, ToolShuffle, [&] {
        make_list(20);
        random_seed_for_testing(7);
    });
    EXPECT_EQ(left.is_saved, 0);
    EXPECT_EQ(left.rows.size(), 20u);
    expect_in_step();

    // With nothing to act on, nothing changes, the saved flag included.
    const struct {
        int key;
        int modifiers;
        ToolItem button;
        int count;
        int selected;
    } nothing_to_do[] = {
        {KEY_DELETE, 0, ToolDeleteTrack, 5, -1},   {KEY_UP, KEY_ALT, ToolMoveUp, 5, -1},
        {KEY_UP, KEY_ALT, ToolMoveUp, 5, 0},       {KEY_DOWN, KEY_ALT, ToolMoveDown, 5, -1},
        {KEY_DOWN, KEY_ALT, ToolMoveDown, 5, 4},   {'R', KEY_CONTROL, ToolShuffle, 1, 0},
        {KEY_DELETE, 0, ToolDeleteTrack, 0, -1},
    };
    for (const auto& c : nothing_to_do) {
        left = expect_as_button(c.key, c.modifiers, c.button, [&] { make_list(c.count, c.selected); });
        EXPECT_EQ(left.rows.size(), static_cast<std::size_t>(c.count));
        EXPECT_EQ(left.is_saved, 1);
    }
}

// The window hears its keys first, whichever control has the focus.
TEST_F(Keys, KeysWorkWhicheverControlHasTheFocus) {
    for (const auto focus : {focus_playlist, focus_toolbar}) {
        make_list(3, 1);
        bring_main_window_to_front();
        focus();
        Person person({});  // a key the control took instead could open a box
        press_in_main_window(KEY_DELETE);
        EXPECT_EQ(rows(), (Rows{track(0), track(2)}));
        // Space on a focused button would press it; here it is the program's
        // (which plays nothing without media, as the Play button).
        press_in_main_window(KEY_SPACE);
        press_in_main_window(KEY_UP, KEY_ALT);
        EXPECT_EQ(rows(), (Rows{track(0), track(2)})) << "nothing selected: nothing moves";
        gadget_state_set(PLAYLIST_GADGET, 1);
        press_in_main_window(KEY_UP, KEY_ALT);
        EXPECT_EQ(rows(), (Rows{track(2), track(0)}));
        EXPECT_EQ(selected_row(), 0);
        EXPECT_EQ(person.done().size(), 0u);
        StopSong();
    }
}

TEST_F(Keys, FileKeysAskAndSaveAsTheirButtons) {
    // Save without a file asks for one and writes it.
    Outcome left = expect_as_button('S', KEY_CONTROL, ToolSavePlaylist, [&] { make_list(3, 1); },
                                    {choose_file(path(L"keys.m3u"))});
    EXPECT_EQ(left.seen.size(), 1u);
    EXPECT_EQ(left.written, "/k0.mp3\r\n/k1.mp3\r\n/k2.mp3\r\n");
    EXPECT_EQ(left.is_saved, 1);
    // An empty list says so and writes nothing.
    left = expect_as_button('S', KEY_CONTROL, ToolSavePlaylist, [&] { make_list(0); }, {press(ANSWER_OK)});
    EXPECT_EQ(left.seen.size(), 1u);
    EXPECT_EQ(left.written, "");
    // Save as asks even with a file.
    left = expect_as_button('S', KEY_CONTROL | KEY_SHIFT, ToolSaveAs, [&] {
        make_list(2);
        app.playlist_path = TextBuild(u16(path(L"first.m3u")).c_str());
        UpdateTitle();
    }, {choose_file(path(L"keys.m3u"))});
    EXPECT_EQ(left.written, "/k0.mp3\r\n/k1.mp3\r\n");
    EXPECT_EQ(left.path, u16(path(L"keys.m3u")));

    // New and Open ask first about unsaved rows; Cancel keeps them, No goes on.
    const auto unsaved = [&] {
        make_list(3, 0);
        app.is_saved = 0;
    };
    left = expect_as_button('N', KEY_CONTROL, ToolNewPlaylist, unsaved, {press(ANSWER_CANCEL)});
    EXPECT_EQ(left.seen.size(), 1u);
    EXPECT_EQ(left.rows.size(), 3u);
    left = expect_as_button('N', KEY_CONTROL, ToolNewPlaylist, unsaved, {press(ANSWER_NO)});
    EXPECT_EQ(left.rows, Rows{});
    left = expect_as_button('O', KEY_CONTROL, ToolOpenPlaylist, unsaved, {press(ANSWER_CANCEL)});
    EXPECT_EQ(left.seen.size(), 1u);
    EXPECT_EQ(left.rows.size(), 3u);
    ASSERT_TRUE(write_file_bytes(path(L"in.m3u"), "/x.mp3\r\n/y.mp3\r\n"));
    left = expect_as_button('O', KEY_CONTROL, ToolOpenPlaylist, unsaved,
                            {press(ANSWER_NO), choose_file(path(L"in.m3u"))});
    EXPECT_EQ(left.rows, (Rows{u"/x.mp3", u"/y.mp3"}));
    // Nothing unsaved: New asks nothing.
    left = expect_as_button('N', KEY_CONTROL, ToolNewPlaylist, [&] { make_list(3, 0); });
    EXPECT_EQ(left.seen, std::vector<std::wstring>{});
    EXPECT_EQ(left.rows, Rows{});
}

TEST_F(Keys, F1ShowsTheHelpBoxListingTheKeys) {
    const Outcome left = expect_as_button(KEY_F1, 0, ToolHelp, [&] { make_list(2, 1); }, {press(ANSWER_OK)});
    ASSERT_EQ(left.seen.size(), 1u);
    EXPECT_EQ(left.seen[0], wide(HELP_TITLE) + L"\n" + as_shown(wide(HELP_TEXT)));
    EXPECT_NE(left.seen[0].find(L"Ctrl+Shift+S"), std::wstring::npos);
}

// The list's own keys: each move of the selection is the event a click makes.
TEST_F(Keys, ArrowAndPageKeysMoveTheSelectionAsAClickDoes) {
    make_list(100, 10);
    bring_main_window_to_front();
    focus_playlist();
    while (event_wait_timeout(50) != EVENT_NONE) {
    }
    const auto after = [](int key) {
        press_runtime_key(key);
        int changes = 0;
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(400);
        while (std::chrono::steady_clock::now() < until) {
            const int kind = event_wait_timeout(10);
            EXPECT_NE(kind, EVENT_MENU);
            if (kind == EVENT_GADGET && event_gadget() == PLAYLIST_GADGET && event_subtype() == 0) ++changes;
        }
        EXPECT_GE(changes, 1) << "key " << key << " made no selection event";
        return selected_row();
    };
    EXPECT_EQ(after(KEY_DOWN), 11);
    EXPECT_EQ(after(KEY_UP), 10);
    EXPECT_EQ(after(KEY_END), 99);
    EXPECT_EQ(after(KEY_HOME), 0);
    const int page = after(KEY_PAGE_DOWN);
    EXPECT_GT(page, 1);
    EXPECT_LT(page, 99);
    EXPECT_EQ(after(KEY_PAGE_UP), 0);
    EXPECT_EQ(rows().size(), 100u);
    EXPECT_EQ(app.is_saved, 1);
}

TEST_F(Keys, KeysHeldDownOverTenThousandRowsLoseNothing) {
    make_list(10000, 0);
    press_in_main_window(KEY_DOWN, KEY_ALT, 150);
    EXPECT_EQ(selected_row(), 150);
    EXPECT_EQ(rows()[150], track(0));
    EXPECT_EQ(rows()[0], track(1));
    expect_in_step();
    press_in_main_window(KEY_UP, KEY_ALT, 50);
    EXPECT_EQ(selected_row(), 100);
    EXPECT_EQ(rows()[100], track(0));
    expect_in_step();
    // Delete takes the selected row only: the row after it is not selected.
    press_in_main_window(KEY_DELETE, 0, 30);
    EXPECT_EQ(rows().size(), 9999u);
    EXPECT_EQ(selected_row(), -1);
    expect_in_step();
    press_in_main_window('R', KEY_CONTROL, 5);
    expect_in_step();
    Rows all = rows();
    std::sort(all.begin(), all.end());
    Rows expected;
    for (int i = 1; i < 10000; ++i) expected.push_back(track(i));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(all, expected);

    // The list's own key held down: the selection follows each repeat.
    gadget_state_set(PLAYLIST_GADGET, 0);
    focus_playlist();
    press_in_main_window(KEY_DOWN, 0, 300);
    EXPECT_EQ(selected_row(), 300);
    EXPECT_EQ(rows().size(), 9999u);
}

}  // namespace
