#include "tests/app/app_support.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>

#include "app/app_state.h"
#include "app/list_events.h"
#include "app/main_window.h"
#include "app/playlist.h"
#include "app/playlist_file.h"
#include "app/startup.h"
#include "runtime/core/runtime_steps.h"
#include "runtime/gui/event.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/window.h"
#include "runtime/text/text.h"
#include "tests/support/person.h"
#include "tests/support/key_input.h"

namespace {

// Start-up as the program does it, once for the whole test program.
class ProgramEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        ASSERT_TRUE(runtime_start());
        InitApplicationState();
        Person person({press(ANSWER_OK)});
        OpenMainWindow();
        std::vector<SeenDialog> seen = person.done();
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].title, L"Information on TESTING version");
        ASSERT_NE(window_handle(MAIN_WINDOW), 0);
        ASSERT_NE(gadget_handle(PLAYLIST_GADGET), 0);
        bring_main_window_to_front();
    }
    void TearDown() override {
        app.playlist_path = nullptr;
        app.version_text = nullptr;
        app.current_song_path = nullptr;
        list_free(app.playlist_store.list);
        runtime_end();
    }
};

const auto* const program_environment = ::testing::AddGlobalTestEnvironment(new ProgramEnvironment);

}  // namespace

Answer press(int button) { return {Answer::Act::press, button, {}}; }
Answer choose_file(const std::wstring& path) { return {Answer::Act::choose, 0, path}; }
Answer cancel_dialog() { return {Answer::Act::cancel, 0, {}}; }

std::wstring wide(const char16_t* text) {
    return text ? std::wstring(text, text + std::char_traits<char16_t>::length(text)) : L"";
}
std::u16string u16(const std::wstring& text) { return {text.begin(), text.end()}; }

std::ostream& operator<<(std::ostream& out, const Entry& entry) {
    return out << "{" << utf8(entry.player_path) << ", " << utf8(entry.local_path) << "}";
}

std::vector<std::u16string> rows() {
    std::vector<std::u16string> found;
    int count = gadget_item_count(PLAYLIST_GADGET);
    for (int row = 0; row < count; ++row) {
        int mark = text_builder_mark();
        found.emplace_back(gadget_item_text_get(PLAYLIST_GADGET, row));
        text_builder_rewind(mark);
    }
    return found;
}

std::vector<Entry> entries() {
    std::vector<Entry> found;
    OrderedList* store = app.playlist_store.list;
    list_reset(store);
    while (auto* entry = static_cast<PlaylistEntry*>(list_next(store)))
        found.push_back({entry->player_path ? entry->player_path : u"", entry->local_path ? entry->local_path : u""});
    return found;
}

int selected_row() { return gadget_state_get(PLAYLIST_GADGET); }

std::wstring title_for(const std::wstring& file_name) { return L".: Tunelathe :.V 0.5.206 : " + file_name; }

Before before_save() { return {main_title(), app.is_saved, app.playlist_path.c_str()}; }

void expect_failed_save(const std::vector<SeenDialog>& seen, const std::wstring& target, const Before& before) {
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].title, L"Not saved!");
    EXPECT_NE(seen[0].text.find(target), std::wstring::npos) << "the message names the file";
    EXPECT_EQ(main_title(), before.title);
    EXPECT_EQ(app.is_saved, before.is_saved);
    EXPECT_EQ(std::u16string(app.playlist_path.c_str()), before.path);
}

bool wait_for_event(int kind) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < deadline)
        if (event_wait_timeout(10) == kind) return true;
    return false;
}

void AppTest::SetUp() {
    ClearPlaylist();
    app.is_saved = 1;
    app.playlist_path = nullptr;
    UpdateTitle();
    while (event_wait_timeout(0) != EVENT_NONE) {
    }
    folder_ = new_test_folder();
    ASSERT_FALSE(folder_.empty());
}

void AppTest::TearDown() {
    remove_tree(folder_);
    remove_made_on_player();
}

std::wstring AppTest::path(const std::wstring& relative) const {
    std::wstring joined = folder_ + SEPARATOR + relative;
    std::replace(joined.begin(), joined.end(), L'/', SEPARATOR);
    return joined;
}

namespace {

std::vector<std::filesystem::path>& made_on_player() {
    static std::vector<std::filesystem::path> made;
    return made;
}

}  // namespace

void make_on_player(const std::u16string& local, bool folder) {
    namespace fs = std::filesystem;
    std::error_code ignored;
    const fs::path target(local);
    const fs::path holder = folder ? target : target.parent_path();
    fs::path highest;  // the highest folder this call makes
    for (fs::path above = holder; !above.empty() && !fs::exists(above, ignored); above = above.parent_path()) {
        highest = above;
        if (above == above.parent_path()) break;
    }
    fs::create_directories(holder, ignored);
    if (!folder && !fs::exists(target, ignored)) {
        std::ofstream{target};
        if (highest.empty()) highest = target;
    }
    if (!highest.empty()) made_on_player().push_back(highest);
}

void remove_made_on_player() {
    std::error_code ignored;
    for (const std::filesystem::path& made : made_on_player()) std::filesystem::remove_all(made, ignored);
    made_on_player().clear();
}

int offset_to_row(int from, int onto, int quarters) {
    const ShownBox pressed = shown_row(PLAYLIST_GADGET, from);
    const ShownBox target = shown_row(PLAYLIST_GADGET, onto);
    return target.y + target.height * quarters / 4 - (pressed.y + pressed.height / 2);
}

void drag_row(int row, int onto, int quarters) {
    const int dy = offset_to_row(row, onto, quarters);
    press_row(PLAYLIST_GADGET, row);
    move_pointer_by(2, dy);
    release_pointer();
}

int handle_list_events() {
    settle();
    int moved = 0;
    for (int kind; (kind = event_wait_timeout(0)) != EVENT_NONE;) {
        if (kind != EVENT_GADGET) continue;
        if (event_subtype() == GADGET_ITEM_MOVED) ++moved;
        HandleListEvent();
    }
    return moved;
}

void press_in_main_window(int key, int modifiers, int times) {
    bring_main_window_to_front();
    press_runtime_key(key, modifiers, times);
    // Until nothing came for a moment: the keys of the list itself make no
    // menu events, but messages (or selection events) until each is handled.
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    auto last = start;
    while (Clock::now() - last < std::chrono::milliseconds(500) && Clock::now() - start < std::chrono::seconds(60)) {
        const int kind = event_wait_timeout(10);
        if (kind == EVENT_NONE) continue;
        if (kind == EVENT_MENU) RunToolbarCommand(event_menu_item());
        last = Clock::now();
    }
}
