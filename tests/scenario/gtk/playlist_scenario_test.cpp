// A person's sessions with the native program, started as a process of its
// own: files on a player's file system (a tmpfs mounted at a folder with a
// space), with spaces and letters beyond ASCII in their names, dragged from
// another program onto the list; the rows edited; the playlist saved through
// the file chooser and compared byte for byte; opened again; the close
// question answered each way; lists that name no local file refused; a
// folder named where a file is asked for; a playlist with a huge line. The
// same on an exFAT player, whose names ignore letter case. A second X client
// acts as the person; the rows are what the person sees of the list, their
// texts what the program saves.
#include <gtest/gtest.h>

#include <X11/keysym.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "tests/scenario/gtk/file_chooser.h"
#include "tests/scenario/gtk/file_drag.h"
#include "tests/support/player_mount.h"
#include "tests/scenario/gtk/playlist_view.h"
#include "tests/scenario/gtk/program_process.h"
#include "tests/scenario/gtk/session.h"
#include "tests/scenario/gtk/toolbar_probe.h"
#include "tests/support/playlist_bytes.h"
#include "tests/support/x_person.h"

namespace {

namespace fs = std::filesystem;

// The player paths of the songs; the files are the same below the mount point.
const std::string ALPHA = "/Music/Alpha one.mp3";
const std::string BAERBEL = "/Music/B\xC3\xA4rbel \xC3\x96st.mp3";
const std::string CHARLIE = "/Music/Caf\xC3\xA9 del Mar/Charlie.mp3";
// On the exFAT player, as stored: a folder in capitals, as players' own
// software names them, and names of other letters, not other case.
const std::string TRACK = "/MUSIC/TRACK01.MP3";
const std::string ABC = "/MUSIC/ABC.mp3";
const std::string A_UMLAUT_BC = "/MUSIC/\xC3\x84" "bc.mp3";
// TRACK01.MP3 as a person types it: the same file where letter case does not count.
const std::string TRACK_TYPED = "/music/Track01.mp3";
constexpr char UNSAVED[] = "Unsaved Data!";

void pause_ms(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

// The file's bytes; "<missing>" when it cannot be read.
std::string file_bytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return "<missing>";
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The file's number in its file system; 0 when there is none.
ino_t file_number(const fs::path& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

// The rows a saved playlist holds, by its lines.
std::vector<std::string> saved_rows(const fs::path& path) {
    std::string bytes = file_bytes(path);
    if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) bytes.erase(0, 3);
    std::vector<std::string> rows;
    for (std::size_t at = 0, end; (end = bytes.find("\r\n", at)) != std::string::npos; at = end + 2)
        rows.push_back(bytes.substr(at, end - at));
    return rows;
}

std::vector<std::string> names_in(const fs::path& folder) {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

class PlaylistScenario : public testing::Test {
protected:
    // The player's file system and the songs on it.
    virtual PlayerFileSystem file_system() const { return PlayerFileSystem::tmpfs; }
    virtual std::vector<std::string> songs() const { return {ALPHA, BAERBEL, CHARLIE}; }

    void SetUp() override {
        const char* work_dir = std::getenv("SOUND_TEST_DIR");
        ASSERT_NE(work_dir, nullptr) << "run this program through tests/support/with-audio-server";
        work_ = work_dir;
        player_ = std::make_unique<PlayerMount>(work_ / "Player Drive", file_system());
        if (!player_->supported) GTEST_SKIP() << player_->problem;
        ASSERT_TRUE(player_->mounted) << player_->problem << " (mounting a file system needs root)";
        for (const std::string& song : songs()) {
            fs::create_directories(file(song).parent_path());
            std::ofstream(file(song), std::ios::binary) << "not really a song";
        }
        fs::create_directories(playlists());
        ASSERT_TRUE(person_.open());
    }
    void TearDown() override { player_.reset(); }

    fs::path file(const std::string& player_path) const { return player_->at / player_path.substr(1); }
    fs::path playlists() const { return player_->at / "Playlists"; }
    std::unique_ptr<Session> start(const char* home, std::vector<std::string> arguments = {},
                                   const fs::path& folder = {}) {
        return std::make_unique<Session>(person_, ProgramStart{work_ / home, true, {}, std::move(arguments), folder});
    }
    // Drags the songs onto the list below its rows, which chooses none.
    bool drop(PlaylistView& list, const std::vector<std::string>& songs) {
        std::vector<std::string> paths;
        for (const std::string& song : songs) paths.push_back(file(song).string());
        return drag_files(person_, paths, list.screen_x(), list.screen_y_below_rows());
    }
    // Opens the file through Open's chooser, as a person does; true once the
    // title names it as shown.
    bool open_through_chooser(Session& session, const fs::path& file, const std::string& shown) {
        session.toolbar.press(TOOL_OPEN);
        return choose_file(person_, "Open M3U file", file.string()) &&
               person_.wait_for_title(session.program.main_window, title_with(shown));
    }
    // The close question, once it is up.
    bool asked_on_close(unsigned long main) {
        person_.close_request(main);
        return person_.wait_for(UNSAVED, 10000) != 0;
    }

    XPerson person_;
    fs::path work_;
    std::unique_ptr<PlayerMount> player_;
};

TEST_F(PlaylistScenario, DroppedFilesAreEditedSavedAsAndOpenedAgain) {
    const fs::path road_trip = playlists() / "Road trip.m3u";
    {
        std::unique_ptr<Session> session = start("home-edit");
        ASSERT_TRUE(session->ready());
        const unsigned long main = session->program.main_window;
        Toolbar& toolbar = session->toolbar;
        PlaylistView& list = session->list;

        ASSERT_TRUE(drop(list, {ALPHA, BAERBEL}));
        ASSERT_TRUE(list.wait_rows(2)) << "the drop brought " << list.rows().size() << " rows";
        // Dropped onto the first row: the new row comes last, the row dropped on is chosen.
        ASSERT_TRUE(drag_files(person_, {file(CHARLIE).string()}, list.screen_x(), list.screen_y_of_row(0)));
        ASSERT_TRUE(list.wait_rows(3)) << "after the second drop: " << list.rows().size() << " rows";
        EXPECT_TRUE(list.selected(0)) << "the row under the drop is not chosen";

        // Save as: the typed name gets its extension; the rows are the
        // paths below the mount point, in the dropped order.
        toolbar.press(TOOL_SAVE_AS);
        ASSERT_TRUE(choose_file(person_, "Save file as", (playlists() / "Road trip").string()));
        EXPECT_TRUE(person_.wait_for_title(main, title_with("Road trip.m3u"))) << person_.title_of(main);
        EXPECT_EQ(file_bytes(road_trip), saved_playlist_bytes({ALPHA, BAERBEL, CHARLIE}));
        EXPECT_EQ(file_bytes(road_trip).rfind("\xEF\xBB\xBF", 0), 0u) << "letters beyond ASCII: a byte-order mark";

        // Each edit, then Save, which writes the same file without asking.
        auto saved_after = [&](int item) {
            const ino_t before = file_number(road_trip);
            toolbar.press(item);
            toolbar.press(TOOL_SAVE);
            // Each save puts a new file in the old one's place.
            for (int waited = 0; waited < 5000 && file_number(road_trip) == before; waited += 50) pause_ms(50);
            EXPECT_NE(file_number(road_trip), before) << "Save wrote nothing";
            EXPECT_EQ(person_.titles(), std::vector<std::string>{title_with("Road trip.m3u")}) << "a box came up";
            return saved_rows(road_trip);
        };
        list.click_row(2);
        ASSERT_TRUE(list.selected(2)) << "the click selected no row";
        EXPECT_EQ(saved_after(TOOL_MOVE_UP), (std::vector<std::string>{ALPHA, CHARLIE, BAERBEL}));
        EXPECT_TRUE(list.selected(1)) << "the moved track stays selected";
        list.click_row(0);
        ASSERT_TRUE(list.selected(0));
        EXPECT_EQ(saved_after(TOOL_MOVE_DOWN), (std::vector<std::string>{CHARLIE, ALPHA, BAERBEL}));

        std::vector<std::string> shuffled = saved_after(TOOL_SHUFFLE);
        EXPECT_EQ(list.rows().size(), 3u);
        std::vector<std::string> sorted = shuffled;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(sorted, (std::vector<std::string>{ALPHA, BAERBEL, CHARLIE})) << "shuffled, the same rows";

        list.click_row(1);
        ASSERT_TRUE(list.selected(1));
        shuffled.erase(shuffled.begin() + 1);
        EXPECT_EQ(saved_after(TOOL_DELETE), shuffled);
        EXPECT_TRUE(list.wait_rows(2));
        EXPECT_EQ(file_bytes(road_trip), saved_playlist_bytes(shuffled));
        // Nothing is chosen now: Delete again removes nothing.
        EXPECT_FALSE(list.selected(0, 300) || list.selected(1, 300)) << "a row is chosen after Delete";
        EXPECT_EQ(saved_after(TOOL_DELETE), shuffled);
        EXPECT_EQ(list.rows().size(), 2u);

        // Saved: closing asks nothing.
        person_.close_request(main);
        EXPECT_EQ(session->program.exit_code(), 0);
    }

    std::unique_ptr<Session> session = start("home-open");
    ASSERT_TRUE(session->ready());
    const unsigned long main = session->program.main_window;
    Toolbar& toolbar = session->toolbar;
    PlaylistView& list = session->list;
    ASSERT_TRUE(open_through_chooser(*session, road_trip, "Road trip.m3u")) << person_.title_of(main);
    EXPECT_TRUE(list.wait_rows(2)) << "the opened file shows " << list.rows().size() << " rows";

    // The opened rows, saved under another name, are the same bytes.
    toolbar.press(TOOL_SAVE_AS);
    ASSERT_TRUE(choose_file(person_, "Save file as", (playlists() / "Copy.m3u").string()));
    EXPECT_TRUE(person_.wait_for_title(main, title_with("Copy.m3u")));
    EXPECT_EQ(file_bytes(playlists() / "Copy.m3u"), file_bytes(road_trip));
    EXPECT_EQ(names_in(playlists()), (std::vector<std::string>{"Copy.m3u", "Road trip.m3u"}))
        << "no temporary file left";

    person_.close_request(main);
    EXPECT_EQ(session->program.exit_code(), 0);
}

TEST_F(PlaylistScenario, SaveNamesRowsThePlayerWillNotPlayAndFixesWhatItFindsElsewhere) {
    // Written by another tool on another computer, with rows the player
    // finds through its fallback, misses, or cannot play.
    fs::create_directories(file("/Music/Artist"));
    std::ofstream(file("/Music/Artist/b.mp3"), std::ios::binary) << "ID3 b";
    fs::create_directories(file("/Music/Folder.mp3"));
    fs::create_directories(file("/Pictures"));
    std::ofstream(file("/Pictures/cover.jpg"), std::ios::binary) << "JFIF";
    const std::string long_line = std::string(400, 'x') + ".mp3";
    const std::string rest =
        ALPHA + "\r\n/Music/gone.mp3\r\n/Music/Folder.mp3\r\n/Pictures/cover.jpg\r\n" + long_line + "\r\n";
    const fs::path other = playlists() / "Other tool.m3u";
    std::ofstream(other, std::ios::binary) << "C:\\Users\\me\\Music\\iTunes\\Music\\Artist\\b.mp3\r\n" << rest;

    std::unique_ptr<Session> session = start("home-check", {other.string()});
    ASSERT_TRUE(session->ready());
    ASSERT_TRUE(person_.wait_for_title(session->program.main_window, title_with("Other tool.m3u")));
    ASSERT_TRUE(session->list.wait_rows(6)) << session->list.rows().size() << " rows";

    // The rows as drawn: the fallback's row amber, the rows the player will
    // not play red, the row it plays in the list's own near-white.
    auto red = [](unsigned long c) { return (c >> 16 & 0xFF) > (c >> 8 & 0xFF) + 40 && (c >> 16 & 0xFF) > (c & 0xFF) + 40; };
    auto amber = [](unsigned long c) {
        return (c >> 16 & 0xFF) > (c & 0xFF) + 60 && (c >> 8 & 0xFF) > (c & 0xFF) + 30 &&
               (c >> 16 & 0xFF) > (c >> 8 & 0xFF);
    };
    std::vector<unsigned long> colours;
    for (int waited = 0; waited < 5000; waited += 100) {
        colours.clear();
        for (int row = 0; row < 6; ++row) colours.push_back(session->list.row_colour(row));
        if (amber(colours[0]) && red(colours[2]) && red(colours[3]) && red(colours[4]) && red(colours[5])) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_TRUE(amber(colours[0])) << std::hex << colours[0];
    EXPECT_FALSE(red(colours[1]) || amber(colours[1])) << std::hex << colours[1];
    for (int row = 2; row < 6; ++row) EXPECT_TRUE(red(colours[row])) << row << ": " << std::hex << colours[row];
    session->toolbar.press(TOOL_SAVE);
    const unsigned long box = person_.wait_for("Check before saving", 10000);
    ASSERT_NE(box, 0u) << "Save asked nothing about the rows";
    const std::string said = person_.copied_text(box);
    for (const char* expected : {"5 rows will not play on the player as written:",
                                 "Row 1: C:\\Users\\me\\Music\\iTunes\\Music\\Artist\\b.mp3",
                                 "The player plays /Music/Artist/b.mp3 instead.", "Row 3: /Music/gone.mp3",
                                 "The player finds no file here.", "This is a folder: the player plays files only.",
                                 "The player cannot play this type of file.",
                                 "The player stops the playlist here: the line is too long for it.",
                                 "Yes: fix 1 row the player finds elsewhere"})
        EXPECT_NE(said.find(expected), std::string::npos) << "missing: " << expected << "\nin: " << said;
    ASSERT_TRUE(answer_box(person_, "Check before saving", XK_y));

    // Fixed: the row names the path the player finds; the rest as written.
    for (int waited = 0; waited < 5000 && file_bytes(other) != "/Music/Artist/b.mp3\r\n" + rest; waited += 50)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(file_bytes(other), "/Music/Artist/b.mp3\r\n" + rest);
    person_.close_request(session->program.main_window);
    EXPECT_EQ(session->program.exit_code(), 0);
}

TEST_F(PlaylistScenario, APlaylistGivenAtStartIsOpened) {
    const fs::path given = playlists() / "Given list.m3u";
    std::ofstream(given, std::ios::binary) << saved_playlist_bytes({CHARLIE, ALPHA});
    // A name whose bytes are not UTF-8, as an old player may hold.
    std::ofstream(playlists() / "Old\xFF.m3u", std::ios::binary) << saved_playlist_bytes({CHARLIE, ALPHA});
    const struct {
        std::string argument;
        fs::path folder;
        std::string shown;
    } cases[] = {
        // By its full path, as "Open with" gives it.
        {given.string(), {}, "Given list.m3u"},
        // By a path from the folder the program starts in.
        {"Playlists/Given list.m3u", player_->at, "Given list.m3u"},
        {(playlists() / "Old\xFF.m3u").string(), {}, "Old\xEF\xBF\xBD.m3u"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.argument);
        std::unique_ptr<Session> session = start("home-given", {c.argument}, c.folder);
        ASSERT_TRUE(session->ready());
        const unsigned long main = session->program.main_window;
        EXPECT_TRUE(person_.wait_for_title(main, title_with(c.shown))) << person_.title_of(main);
        EXPECT_TRUE(session->list.wait_rows(2)) << "the given playlist shows " << session->list.rows().size() << " rows";
        // Opened, the list counts as saved: closing asks nothing.
        person_.close_request(main);
        EXPECT_EQ(session->program.exit_code(), 0);
    }
}

TEST_F(PlaylistScenario, APlaylistGivenAtStartThatCannotBeOpenedIsSaidSo) {
    const std::string missing = (playlists() / "Missing.m3u").string();
    const std::string pipe = (playlists() / "Pipe.m3u").string();
    ASSERT_EQ(mkfifo(pipe.c_str(), 0644), 0);
    const struct {
        std::vector<std::string> arguments;
        std::string said;  // in the box's text
    } cases[] = {
        {{missing}, missing},
        {{pipe}, "not a file"},
        {{playlists().string()}, "directory"},
        {{missing, pipe}, "one playlist at a time"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.said);
        std::unique_ptr<Session> session = start("home-not-given", c.arguments);
        ASSERT_TRUE(session->ready());
        const unsigned long main = session->program.main_window;
        const unsigned long box = person_.wait_for("Not opened!", 10000);
        ASSERT_NE(box, 0u) << "no box said why";
        EXPECT_NE(person_.copied_text(box).find(c.said), std::string::npos) << person_.copied_text(box);
        person_.press_return(box);
        ASSERT_TRUE(wait_gone(person_, "Not opened!"));
        // Nothing was opened and nothing made: an empty list, no file name.
        EXPECT_EQ(person_.title_of(main), MAIN_TITLE);
        // The list shows again where the box was once it is drawn anew.
        EXPECT_TRUE(session->list.wait_rows(0)) << session->list.rows().size() << " rows";
        EXPECT_FALSE(fs::exists(missing));
        person_.close_request(main);
        EXPECT_EQ(session->program.exit_code(), 0);
    }
}

TEST_F(PlaylistScenario, TheCloseQuestionKeepsRunningQuitsOrSavesAndQuits) {
    {
        std::unique_ptr<Session> session = start("home-no");
        ASSERT_TRUE(session->ready());
        const unsigned long main = session->program.main_window;
        PlaylistView& list = session->list;
        ASSERT_TRUE(drop(list, {ALPHA}));
        ASSERT_TRUE(list.wait_rows(1));

        // Yes, then the save's chooser cancelled: nothing saved, nothing lost.
        ASSERT_TRUE(asked_on_close(main)) << "closing with unsaved changes asked nothing";
        ASSERT_TRUE(answer_box(person_, UNSAVED, XK_y));
        ASSERT_TRUE(cancel_chooser(person_, "Save file"));
        pause_ms(500);
        EXPECT_TRUE(session->program.running()) << "the program ended without saving";
        EXPECT_EQ(person_.titles(), std::vector<std::string>{title_with("")});
        EXPECT_TRUE(list.wait_rows(1));

        // No: ends without saving.
        ASSERT_TRUE(asked_on_close(main));
        ASSERT_TRUE(answer_box(person_, UNSAVED, XK_n));
        EXPECT_EQ(session->program.exit_code(), 0);
        EXPECT_TRUE(names_in(playlists()).empty()) << "answering No wrote a file";
    }

    // Yes with a name chosen: saved, then ended.
    std::unique_ptr<Session> session = start("home-yes");
    ASSERT_TRUE(session->ready());
    PlaylistView& list = session->list;
    ASSERT_TRUE(drop(list, {BAERBEL, ALPHA}));
    ASSERT_TRUE(list.wait_rows(2));
    ASSERT_TRUE(asked_on_close(session->program.main_window));
    ASSERT_TRUE(answer_box(person_, UNSAVED, XK_y));
    // The chooser proposes Playlist.m3u; the person keeps it and picks the folder.
    ASSERT_TRUE(save_proposed_name_in(person_, "Save file", playlists().string()));
    EXPECT_EQ(session->program.exit_code(), 0);
    EXPECT_EQ(file_bytes(playlists() / "Playlist.m3u"), saved_playlist_bytes({BAERBEL, ALPHA}));
    EXPECT_EQ(names_in(playlists()), std::vector<std::string>{"Playlist.m3u"});
}

TEST_F(PlaylistScenario, ListsThatNameNoLocalFileAddNoRow) {
    std::unique_ptr<Session> session = start("home-refuse");
    ASSERT_TRUE(session->ready());
    const unsigned long main = session->program.main_window;
    Toolbar& toolbar = session->toolbar;
    PlaylistView& list = session->list;

    // A web address, a list that is no list of addresses, a file not there.
    ASSERT_TRUE(drag_uri_list(person_, "http://example.com/music/song.mp3\r\n", list.screen_x(),
                              list.screen_y_below_rows()));
    ASSERT_TRUE(drag_uri_list(person_, "no list\r\nfile:///Music/%ZZbroken.mp3\r\n", list.screen_x(),
                              list.screen_y_below_rows()));
    // A file gone from the player before the drop was read has no path there.
    std::string gone = "file://";
    for (const char c : file("/Music/gone.mp3").string()) gone += c == ' ' ? std::string("%20") : std::string(1, c);
    ASSERT_TRUE(drag_uri_list(person_, gone + "\r\n", list.screen_x(), list.screen_y_below_rows()));
    pause_ms(500);
    EXPECT_TRUE(list.rows().empty()) << "refused drops brought " << list.rows().size() << " rows";
    EXPECT_EQ(person_.titles(), std::vector<std::string>{MAIN_TITLE}) << "a box came up";

    // The same drag with a file on the player brings its row, and only that.
    ASSERT_TRUE(drop(list, {CHARLIE}));
    ASSERT_TRUE(list.wait_rows(1)) << "a real file's drop brought no row";
    toolbar.press(TOOL_SAVE_AS);
    ASSERT_TRUE(choose_file(person_, "Save file as", (playlists() / "one.m3u").string()));
    EXPECT_TRUE(person_.wait_for_title(main, title_with("one.m3u")));
    EXPECT_EQ(file_bytes(playlists() / "one.m3u"), saved_playlist_bytes({CHARLIE}));
    person_.close_request(main);
    EXPECT_EQ(session->program.exit_code(), 0);
}

TEST_F(PlaylistScenario, AFolderNamedForAFileLosesNothing) {
    fs::create_directories(playlists() / "Folder.m3u");
    std::unique_ptr<Session> session = start("home-folder");
    ASSERT_TRUE(session->ready());
    const unsigned long main = session->program.main_window;
    Toolbar& toolbar = session->toolbar;
    PlaylistView& list = session->list;
    ASSERT_TRUE(drop(list, {ALPHA}));
    ASSERT_TRUE(list.wait_rows(1));

    // A folder's name: the chooser goes into the folder and stays.
    toolbar.press(TOOL_SAVE_AS);
    ASSERT_TRUE(type_into_chooser(person_, "Save file as", playlists().string()));
    pause_ms(1000);
    EXPECT_NE(person_.find("Save file as"), 0u) << "a folder was taken as the file to save";
    // A name that the extension makes a folder's: the save fails and says so.
    ASSERT_TRUE(choose_file(person_, "Save file as", (playlists() / "Folder").string()));
    EXPECT_TRUE(press_return_on(person_, "Not saved!")) << "no message; shown: "
                                                        << testing::PrintToString(person_.titles());
    EXPECT_EQ(person_.title_of(main), MAIN_TITLE) << "the title names a file that was not saved";
    EXPECT_TRUE(fs::is_directory(playlists() / "Folder.m3u"));
    EXPECT_TRUE(fs::is_empty(playlists() / "Folder.m3u"));
    EXPECT_EQ(names_in(playlists()), std::vector<std::string>{"Folder.m3u"}) << "no temporary file left";

    // Open: the unsaved row may go, but a folder opens nothing; cancelled, the row stays.
    toolbar.press(TOOL_OPEN);
    ASSERT_NE(person_.wait_for(UNSAVED), 0u) << "Open with unsaved changes asked nothing";
    ASSERT_TRUE(answer_box(person_, UNSAVED, XK_n));
    ASSERT_TRUE(type_into_chooser(person_, "Open M3U file", (playlists() / "Folder.m3u").string()));
    pause_ms(1000);
    EXPECT_NE(person_.find("Open M3U file"), 0u) << "a folder was taken as the playlist to open";
    ASSERT_TRUE(cancel_chooser(person_, "Open M3U file"));
    EXPECT_TRUE(list.wait_rows(1));
    EXPECT_EQ(person_.title_of(main), MAIN_TITLE);

    // The row was never saved: closing asks, and No ends it.
    ASSERT_TRUE(asked_on_close(main));
    ASSERT_TRUE(answer_box(person_, UNSAVED, XK_n));
    EXPECT_EQ(session->program.exit_code(), 0);
}

TEST_F(PlaylistScenario, APlaylistWithAHugeLineOpensAsOneRow) {
    // Far longer than any path: the row is kept whole and the program keeps answering.
    std::string line;
    for (int i = 0; line.size() < 500000; ++i) line += static_cast<char>('a' + i % 26);
    std::ofstream(playlists() / "huge.m3u", std::ios::binary) << line << "\r\n";
    std::unique_ptr<Session> session = start("home-huge");
    ASSERT_TRUE(session->ready());
    const unsigned long main = session->program.main_window;
    session->toolbar.press(TOOL_OPEN);
    ASSERT_TRUE(choose_file(person_, "Open M3U file", (playlists() / "huge.m3u").string()));
    ASSERT_TRUE(person_.wait_for_title(main, title_with("huge.m3u"), 20000)) << person_.title_of(main);
    EXPECT_TRUE(session->list.wait_rows(1, 10000))
        << "the opened file shows " << session->list.rows().size() << " rows";

    session->toolbar.press(TOOL_SAVE_AS);
    ASSERT_TRUE(choose_file(person_, "Save file as", (playlists() / "again.m3u").string()));
    // Far too long for the player: Save says so first; the person saves it as it is.
    ASSERT_TRUE(answer_box(person_, "Check before saving", XK_y));
    EXPECT_TRUE(person_.wait_for_title(main, title_with("again.m3u"), 20000));
    // Compared whole, not printed: half a megabyte would drown the report.
    EXPECT_TRUE(file_bytes(playlists() / "again.m3u") == saved_playlist_bytes({line})) << "the row saved back differs";
    person_.close_request(main);
    EXPECT_EQ(session->program.exit_code(), 0);
}

class ExfatPlaylistScenario : public PlaylistScenario {
protected:
    PlayerFileSystem file_system() const override { return PlayerFileSystem::exfat; }
    std::vector<std::string> songs() const override { return {TRACK, ABC, A_UMLAUT_BC}; }
};

TEST_F(ExfatPlaylistScenario, NamesThatIgnoreLetterCaseAreSavedOpenedEditedAndSavedAgain) {
    ASSERT_TRUE(fs::exists(file(TRACK_TYPED))) << "the player's names heed letter case";
    const std::vector<std::string> stored{"ABC.mp3", "TRACK01.MP3", "\xC3\x84" "bc.mp3"};
    ASSERT_EQ(names_in(file("/MUSIC")), stored);
    const fs::path mixed = playlists() / "Mixed Case.m3u";
    {
        std::unique_ptr<Session> session = start("home-exfat-save");
        ASSERT_TRUE(session->ready());
        const unsigned long main = session->program.main_window;
        PlaylistView& list = session->list;
        ASSERT_TRUE(drop(list, {TRACK, ABC, A_UMLAUT_BC}));
        ASSERT_TRUE(list.wait_rows(3)) << "the drop brought " << list.rows().size() << " rows";
        // The player finds the file by the name typed in other letters, and
        // the row keeps the letters as typed.
        ASSERT_TRUE(drop(list, {TRACK_TYPED}));
        ASSERT_TRUE(list.wait_rows(4)) << "the name typed in other letters brought no row";

        session->toolbar.press(TOOL_SAVE_AS);
        ASSERT_TRUE(choose_file(person_, "Save file as", (playlists() / "Mixed Case").string()));
        EXPECT_TRUE(person_.wait_for_title(main, title_with("Mixed Case.m3u"))) << person_.title_of(main);
        const std::string saved = file_bytes(mixed);
        EXPECT_EQ(saved, saved_playlist_bytes({TRACK, ABC, A_UMLAUT_BC, TRACK_TYPED}));
        EXPECT_EQ(saved.rfind("\xEF\xBB\xBF", 0), 0u) << "letters beyond ASCII: a byte-order mark";
        EXPECT_EQ(names_in(playlists()), std::vector<std::string>{"Mixed Case.m3u"}) << "no temporary file left";

        person_.close_request(main);
        EXPECT_EQ(session->program.exit_code(), 0);
    }

    std::unique_ptr<Session> session = start("home-exfat-open");
    ASSERT_TRUE(session->ready());
    const unsigned long main = session->program.main_window;
    Toolbar& toolbar = session->toolbar;
    PlaylistView& list = session->list;
    // Opened by its name typed in other letters, as the player finds it.
    ASSERT_TRUE(open_through_chooser(*session, playlists() / "MIXED CASE.M3U", "MIXED CASE.M3U"))
        << person_.title_of(main);
    ASSERT_TRUE(list.wait_rows(4)) << "the opened file shows " << list.rows().size() << " rows";

    // The row typed in other letters goes, the first row moves down; Save
    // writes the same file without asking.
    list.click_row(3);
    ASSERT_TRUE(list.selected(3)) << "the click selected no row";
    toolbar.press(TOOL_DELETE);
    ASSERT_TRUE(list.wait_rows(3));
    list.click_row(0);
    ASSERT_TRUE(list.selected(0));
    toolbar.press(TOOL_MOVE_DOWN);
    EXPECT_TRUE(list.selected(1)) << "the moved track stays selected";
    const std::string before = file_bytes(mixed);
    toolbar.press(TOOL_SAVE);
    for (int waited = 0; waited < 5000 && file_bytes(mixed) == before; waited += 50) pause_ms(50);
    EXPECT_EQ(file_bytes(mixed), saved_playlist_bytes({ABC, TRACK, A_UMLAUT_BC}));
    EXPECT_EQ(person_.titles(), std::vector<std::string>{title_with("MIXED CASE.M3U")}) << "a box came up";
    // The file keeps the name it is stored with, and no temporary file is left.
    EXPECT_EQ(names_in(playlists()), std::vector<std::string>{"Mixed Case.m3u"});
    EXPECT_EQ(names_in(file("/MUSIC")), stored) << "the songs were touched";

    // Saved: closing asks nothing.
    person_.close_request(main);
    EXPECT_EQ(session->program.exit_code(), 0);
}

}  // namespace
