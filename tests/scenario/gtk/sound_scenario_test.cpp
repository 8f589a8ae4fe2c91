// A person's listening sessions with the native program, started as a
// process of its own: with a working audio device (the private audio server
// of tests/support/with-audio-server), songs dragged from a player's file
// system (a tmpfs mounted at a folder with a space) are played, paused,
// skipped and stopped, and made quieter through the volume pop-up; a
// playlist on the player, opened through the file chooser, plays for each
// line the file the player would open; and without any audio server the
// playback buttons do no harm. What played is heard on the server's monitor,
// told apart by the songs' pitches. A second X client acts as the person.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
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
#include "tests/support/monitor_probe.h"
#include "tests/support/volume_step.h"
#include "tests/support/x_person.h"

namespace {

namespace fs = std::filesystem;

constexpr double LOW_HZ = 440, HIGH_HZ = 550;

void pause_ms(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

class SoundScenario : public testing::Test {
protected:
    void SetUp() override {
        const char* songs = std::getenv("SOUND_TEST_DIR");
        ASSERT_NE(songs, nullptr) << "run this program through tests/support/with-audio-server";
        work_ = songs;
        player_ = std::make_unique<PlayerMount>(work_ / "Player Drive");
        ASSERT_TRUE(player_->mounted) << "mounting a file system needs root";
        fs::create_directories(player_->at / "Music");
        fs::create_directories(player_->at / "Playlists");
        fs::copy_file(work_ / "first.wav", low_song());
        fs::copy_file(work_ / "second.wav", high_song());
        ASSERT_TRUE(person_.open());
    }
    void TearDown() override { player_.reset(); }

    fs::path low_song() const { return player_->at / "Music/low song.wav"; }
    fs::path high_song() const { return player_->at / "Music/h\xC3\xB6her.wav"; }
    // The program started with the songs dragged onto its list.
    std::unique_ptr<Session> start_with(const char* home, bool sound, const std::vector<fs::path>& songs) {
        auto session = std::make_unique<Session>(person_, ProgramStart{work_ / home, sound});
        std::vector<std::string> paths;
        for (const fs::path& song : songs) paths.push_back(song.string());
        if (session->ready()) drag_files(person_, paths, session->list.screen_x(), session->list.screen_y_below_rows());
        return session;
    }
    // The dropped songs were never saved: closing asks, and No ends it with exit code 0.
    void close_without_saving(Session& session) {
        person_.close_request(session.program.main_window);
        EXPECT_TRUE(answer_box(person_, "Unsaved Data!", XK_n)) << "closing with unsaved changes asked nothing";
        EXPECT_EQ(session.program.exit_code(), 0);
    }

    XPerson person_;
    fs::path work_;
    std::unique_ptr<PlayerMount> player_;
};

// What was heard once the song of that pitch is heard, within a few listens.
std::optional<MonitorLevels> song_heard(double hz) {
    for (int listen = 0; listen < 4; ++listen) {
        const MonitorLevels levels = hear_settled();
        if (hears_song(levels, hz)) return levels;
    }
    return std::nullopt;
}

TEST_F(SoundScenario, DroppedSongsPlayPauseSkipAndStop) {
    std::unique_ptr<Session> session = start_with("home-drop", true, {low_song(), high_song()});
    ASSERT_TRUE(session->ready());
    EXPECT_EQ(session->program.no_sound_boxes, 0) << "sound works, yet the program said it did not";
    Toolbar& toolbar = session->toolbar;
    PlaylistView& list = session->list;
    ASSERT_TRUE(list.wait_rows(2)) << "the drop brought " << list.rows().size() << " rows";
    EXPECT_TRUE(hears_silence_soon()) << "before Play";

    list.click_row(1);
    ASSERT_TRUE(list.selected(1)) << "the click selected no row";
    toolbar.press(TOOL_PLAY);
    EXPECT_TRUE(toolbar.looks_pressed(TOOL_PLAY));
    EXPECT_TRUE(hears_song_soon(HIGH_HZ)) << "Play";
    toolbar.press(TOOL_PAUSE);
    EXPECT_TRUE(toolbar.looks_pressed(TOOL_PAUSE));
    EXPECT_TRUE(hears_silence_soon()) << "Pause";

    // The last song is chosen: Next has nowhere to go.
    toolbar.press(TOOL_NEXT);
    EXPECT_TRUE(hears_silence_soon()) << "Next at the last song";
    EXPECT_TRUE(list.selected(1));
    EXPECT_TRUE(toolbar.looks_pressed(TOOL_PAUSE));

    // Previous while paused plays the first song; Pause stays pressed in, and
    // the next press only lets it out.
    toolbar.press(TOOL_PREVIOUS);
    EXPECT_TRUE(list.selected(0)) << "Previous chose no song";
    EXPECT_TRUE(hears_song_soon(LOW_HZ)) << "Previous";
    EXPECT_TRUE(toolbar.looks_pressed(TOOL_PAUSE));
    toolbar.press(TOOL_PAUSE);
    EXPECT_FALSE(toolbar.looks_pressed(TOOL_PAUSE));
    EXPECT_TRUE(hears_song_soon(LOW_HZ)) << "Pause let out";

    toolbar.press(TOOL_STOP);
    EXPECT_FALSE(toolbar.looks_pressed(TOOL_PLAY));
    EXPECT_FALSE(toolbar.looks_pressed(TOOL_PAUSE));
    EXPECT_TRUE(hears_silence_soon()) << "Stop";
    close_without_saving(*session);
}

TEST_F(SoundScenario, TheVolumePopUpMakesThePlayingSongQuieter) {
    std::unique_ptr<Session> session = start_with("home-volume", true, {low_song()});
    ASSERT_TRUE(session->ready());
    Toolbar& toolbar = session->toolbar;
    ASSERT_TRUE(session->list.wait_rows(1)) << "the drop brought no row";
    toolbar.press(TOOL_PLAY);
    const std::optional<MonitorLevels> at_75 = song_heard(LOW_HZ);
    ASSERT_TRUE(at_75) << "Play";

    // The pop-up opens under the pointer on the Volume button; the person
    // takes the slider's knob and moves it down by the keyboard from 75 to
    // 40, then takes the pointer away.
    toolbar.press(TOOL_VOLUME, false);
    const unsigned long popup = volume_popup(person_, 5000);
    ASSERT_NE(popup, 0u) << "no volume pop-up came";
    const XPerson::Box box = person_.box(popup);
    EXPECT_EQ(box.x, toolbar.click_x(TOOL_VOLUME) - 10) << "the pointer 10 pixels into the pop-up";
    EXPECT_EQ(box.y, toolbar.click_y() - 10);
    // The knob stands out of the slider's groove, above and below it, once drawn.
    std::vector<XPerson::Stretch> knob;
    for (int waited = 0; waited < 5000 && knob.size() != 1; waited += 100) {
        pause_ms(100);
        knob = person_.ink(popup, {5, 16, 190, 4}, false, 2);
    }
    ASSERT_EQ(knob.size(), 1u) << "no single knob seen on the slider";
    person_.click(box.x + knob[0].middle(), box.y + 25);
    pause_ms(200);
    for (int step = 0; step < 35; ++step) {
        person_.key(XK_Left);
        pause_ms(20);
    }
    pause_ms(300);
    person_.move_to(box.x + box.width + 100, box.y + box.height + 100);
    pause_ms(100);
    person_.move_to(box.x + box.width + 120, box.y + box.height + 120);
    for (int waited = 0; waited < 5000 && volume_popup(person_, 0); waited += 100) pause_ms(100);
    EXPECT_EQ(volume_popup(person_, 0), 0u) << "the pop-up stayed";
    EXPECT_EQ(person_.titles(), std::vector<std::string>{MAIN_TITLE}) << "a box came up";

    const std::optional<MonitorLevels> at_40 = song_heard(LOW_HZ);
    ASSERT_TRUE(at_40) << "the song stopped";
    EXPECT_NEAR(at_40->rms_peak.overall - at_75->rms_peak.overall, volume_step_db(75, 40), 1.0)
        << "the playing song got quieter by the volume table's step";
    toolbar.press(TOOL_STOP);
    EXPECT_TRUE(hears_silence_soon()) << "Stop";
    close_without_saving(*session);
}

TEST_F(SoundScenario, AnOpenedPlaylistPlaysTheTracksThePlayerWould) {
    fs::create_directories(player_->at / "Music/Artist");
    fs::copy_file(work_ / "second.wav", player_->at / "Music/Artist/b.wav");
    {
        // The last line was written on another computer: the player finds
        // its track through its fallback, /Music/Artist/b.wav.
        std::ofstream playlist(player_->at / "Playlists/list.m3u", std::ios::binary);
        playlist << "#EXTM3U\r\n/Music/low song.wav\r\n..\\Music\\h\xC3\xB6her.wav\r\n"
                    "C:\\Users\\me\\Music\\iTunes\\Music\\Artist\\b.wav\r\n";
    }
    Session session(person_, {work_ / "home-open", true});
    ASSERT_TRUE(session.ready());
    const unsigned long main = session.program.main_window;
    EXPECT_EQ(session.program.no_sound_boxes, 0) << "sound works, yet the program said it did not";
    Toolbar& toolbar = session.toolbar;
    PlaylistView& list = session.list;

    toolbar.press(TOOL_OPEN);
    ASSERT_TRUE(choose_file(person_, "Open M3U file", (player_->at / "Playlists/list.m3u").string()));
    ASSERT_TRUE(person_.wait_for_title(main, title_with("list.m3u")))
        << "the playlist was not opened; the title is " << person_.title_of(main);
    ASSERT_TRUE(list.wait_rows(4)) << "the playlist's four lines as rows";

    // The third line is relative to the playlist's folder: the high song.
    list.click_row(2);
    ASSERT_TRUE(list.selected(2)) << "the click selected no row";
    toolbar.press(TOOL_PLAY);
    EXPECT_TRUE(hears_song_soon(HIGH_HZ)) << "Play on ..\\Music\\h\xC3\xB6her.wav";
    toolbar.press(TOOL_STOP);
    EXPECT_TRUE(hears_silence_soon()) << "Stop";

    // The second line starts at the file system's root: the low song.
    list.click_row(1);
    ASSERT_TRUE(list.selected(1)) << "the click selected no row";
    toolbar.press(TOOL_PLAY);
    EXPECT_TRUE(hears_song_soon(LOW_HZ)) << "Play on /Music/low song.wav";
    toolbar.press(TOOL_STOP);

    list.click_row(3);
    ASSERT_TRUE(list.selected(3)) << "the click selected no row";
    toolbar.press(TOOL_PLAY);
    EXPECT_TRUE(hears_song_soon(HIGH_HZ)) << "Play on the line written on another computer";
    toolbar.press(TOOL_STOP);
    EXPECT_TRUE(hears_silence_soon()) << "Stop";

    // The header line names no track: nothing plays, nothing breaks.
    list.click_row(0);
    ASSERT_TRUE(list.selected(0)) << "the click selected no row";
    toolbar.press(TOOL_PLAY);
    EXPECT_TRUE(hears_silence_soon()) << "Play on #EXTM3U";
    toolbar.press(TOOL_STOP);
    EXPECT_EQ(person_.titles(), std::vector<std::string>{title_with("list.m3u")}) << "a box came up";

    // Nothing was changed: closing asks nothing.
    person_.close_request(main);
    EXPECT_EQ(session.program.exit_code(), 0);
}

TEST_F(SoundScenario, WithoutAnAudioServerThePlaybackButtonsDoNoHarm) {
    std::unique_ptr<Session> session = start_with("home-silent", false, {low_song()});
    EXPECT_EQ(session->program.no_sound_boxes, 1);
    EXPECT_TRUE(session->program.notice_before_main) << "the notice comes before the main window";
    ASSERT_TRUE(session->ready());
    Toolbar& toolbar = session->toolbar;
    PlaylistView& list = session->list;
    ASSERT_TRUE(list.wait_rows(1)) << "the drop brought no row";

    list.click_row(0);
    ASSERT_TRUE(list.selected(0));
    toolbar.press(TOOL_PLAY);
    EXPECT_TRUE(toolbar.looks_pressed(TOOL_PLAY)) << "Play is pressed in, though nothing can play";
    for (int item : {TOOL_NEXT, TOOL_PREVIOUS, TOOL_PAUSE, TOOL_STOP, TOOL_PLAY, TOOL_STOP}) toolbar.press(item);
    EXPECT_FALSE(toolbar.looks_pressed(TOOL_PLAY));
    EXPECT_FALSE(toolbar.looks_pressed(TOOL_PAUSE));
    EXPECT_TRUE(hears_silence_soon()) << "no server, yet something played";
    EXPECT_EQ(person_.titles(), std::vector<std::string>{MAIN_TITLE}) << "a box came up";

    // Still answering: the help box comes and goes, and closing asks.
    toolbar.press(TOOL_HELP);
    EXPECT_TRUE(press_return_on(person_, "Help & Info")) << "the program stopped answering";
    close_without_saving(*session);
}

}  // namespace
