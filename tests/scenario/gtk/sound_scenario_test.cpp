// A person's listening sessions with the native program, started as a
// process of its own: with a working audio device (the private audio server
// of tests/support/with-audio-server), two songs dragged from a player's file
// system (a tmpfs mounted at a folder with a space) are played, paused,
// skipped, stopped and made quieter through the volume pop-up; a playlist on
// the player, opened through the file chooser, plays for each line the file
// the player would open; and without any audio server the playback buttons
// do no harm. What played is heard on the server's monitor, told apart by the
// songs' pitches. A second X client acts as the person.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

#include "runtime/media/volume_table.h"
#include "tests/scenario/gtk/file_chooser.h"
#include "tests/scenario/gtk/file_drag.h"
#include "tests/scenario/gtk/playlist_view.h"
#include "tests/scenario/gtk/program_process.h"
#include "tests/scenario/gtk/toolbar_probe.h"
#include "tests/support/monitor_probe.h"
#include "tests/support/x_person.h"

namespace {

namespace fs = std::filesystem;

constexpr double LOW_HZ = 440, HIGH_HZ = 550;

void pause_ms(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

// The step between two volumes of the pop-up, in dB.
double step_db(int from, int to) { return (volume_level(to) - volume_level(from)) / 100.0; }

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
        fs::copy_file(work_ / "first.wav", player_->at / "Music/low song.wav");
        fs::copy_file(work_ / "second.wav", player_->at / "Music/h\xC3\xB6her.wav");
        ASSERT_TRUE(person_.open());
    }
    void TearDown() override { player_.reset(); }

    XPerson person_;
    fs::path work_;
    std::unique_ptr<PlayerMount> player_;
};

// The volume pop-up under the pointer: the top-level window of its size
// that is not the main window.
unsigned long find_popup(XPerson& person) {
    for (int waited = 0; waited < 5000; waited += 50) {
        for (unsigned long window : person.windows()) {
            const XPerson::Box box = person.box(window);
            if (box.width == 200 && box.height == 50) return window;
        }
        pause_ms(50);
    }
    return 0;
}

TEST_F(SoundScenario, DroppedSongsPlayPauseSkipStopAndGetQuieter) {
    NativeProgram program(person_, {work_ / "home-drop", true});
    ASSERT_NE(program.main_window, 0u);
    EXPECT_EQ(program.no_sound_boxes, 0) << "sound works, yet the program said it did not";
    const unsigned long main = program.main_window;
    Toolbar toolbar(person_, main);
    ASSERT_TRUE(toolbar.complete());
    PlaylistView list(person_, main);

    ASSERT_TRUE(drag_files(person_,
                           {(player_->at / "Music/low song.wav").string(),
                            (player_->at / "Music/h\xC3\xB6her.wav").string()},
                           list.screen_x(), list.screen_y_below_rows()));
    ASSERT_TRUE(list.wait_rows(2)) << "the drop brought " << list.rows().size() << " rows";
    EXPECT_TRUE(hears_silence_soon()) << "before Play";

    list.click_row(1);
    ASSERT_TRUE(list.selected(1)) << "the click selected no row";
    toolbar.press(TOOL_PLAY);
    EXPECT_TRUE(hears_song_soon(HIGH_HZ)) << "Play";
    toolbar.press(TOOL_PAUSE);
    EXPECT_TRUE(hears_silence_soon()) << "Pause";

    // The last song is chosen: Next has nowhere to go.
    toolbar.press(TOOL_NEXT);
    EXPECT_TRUE(hears_silence_soon()) << "Next at the last song";
    EXPECT_TRUE(list.selected(1));

    // Previous while paused plays the first song.
    toolbar.press(TOOL_PREVIOUS);
    EXPECT_TRUE(list.selected(0)) << "Previous chose no song";
    EXPECT_TRUE(hears_song_soon(LOW_HZ)) << "Previous";
    toolbar.press(TOOL_STOP);
    EXPECT_TRUE(hears_silence_soon()) << "Stop";

    // The volume pop-up: its slider's knob taken and moved down by the
    // keyboard from 75 to 40, the pointer then taken away.
    toolbar.press(TOOL_PLAY);
    MonitorLevels at_75 = hear_settled();
    ASSERT_TRUE(hears_song(at_75, LOW_HZ)) << "Play after Stop";
    toolbar.press(TOOL_VOLUME, false);
    const unsigned long popup = find_popup(person_);
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
    for (int waited = 0; waited < 5000 && find_popup(person_); waited += 100) pause_ms(100);
    EXPECT_EQ(person_.titles(), std::vector<std::string>{MAIN_TITLE}) << "the pop-up stayed";
    const MonitorLevels at_40 = hear_settled();
    EXPECT_TRUE(hears_song(at_40, LOW_HZ));
    EXPECT_NEAR(at_40.rms_peak.overall - at_75.rms_peak.overall, step_db(75, 40), 1.0)
        << "the playing song got quieter by the volume table's step";
    toolbar.press(TOOL_STOP);
    EXPECT_TRUE(hears_silence_soon()) << "Stop";

    // The dropped songs were never saved: closing asks, and No ends it.
    person_.close_request(main);
    const unsigned long question = person_.wait_for("Unsaved Data!");
    ASSERT_NE(question, 0u) << "closing with unsaved changes asked nothing";
    person_.focus(question);
    person_.key_with_alt(XK_n);
    EXPECT_EQ(program.exit_code(), 0);
}

TEST_F(SoundScenario, AnOpenedPlaylistPlaysTheTracksThePlayerWould) {
    {
        std::ofstream playlist(player_->at / "Playlists/list.m3u", std::ios::binary);
        playlist << "#EXTM3U\r\n/Music/low song.wav\r\n..\\Music\\h\xC3\xB6her.wav\r\n";
    }
    NativeProgram program(person_, {work_ / "home-open", true});
    ASSERT_NE(program.main_window, 0u);
    EXPECT_EQ(program.no_sound_boxes, 0) << "sound works, yet the program said it did not";
    const unsigned long main = program.main_window;
    Toolbar toolbar(person_, main);
    ASSERT_TRUE(toolbar.complete());
    PlaylistView list(person_, main);

    toolbar.press(TOOL_OPEN);
    ASSERT_TRUE(choose_file(person_, "Open M3U file", (player_->at / "Playlists/list.m3u").string()));
    ASSERT_TRUE(person_.wait_for_title(main, title_with("list.m3u")))
        << "the playlist was not opened; the title is " << person_.title_of(main);
    ASSERT_TRUE(list.wait_rows(3)) << "the playlist's three lines as rows";

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

    // The header line names no track: nothing plays, nothing breaks.
    list.click_row(0);
    ASSERT_TRUE(list.selected(0)) << "the click selected no row";
    toolbar.press(TOOL_PLAY);
    EXPECT_TRUE(hears_silence_soon()) << "Play on #EXTM3U";
    toolbar.press(TOOL_STOP);
    EXPECT_EQ(person_.titles(), std::vector<std::string>{title_with("list.m3u")}) << "a box came up";

    // Nothing was changed: closing asks nothing.
    person_.close_request(main);
    EXPECT_EQ(program.exit_code(), 0);
}

TEST_F(SoundScenario, WithoutAnAudioServerThePlaybackButtonsDoNoHarm) {
    NativeProgram program(person_, {work_ / "home-silent", false});
    EXPECT_EQ(program.no_sound_boxes, 1);
    EXPECT_TRUE(program.notice_before_main) << "the notice comes before the main window";
    ASSERT_NE(program.main_window, 0u);
    const unsigned long main = program.main_window;
    Toolbar toolbar(person_, main);
    ASSERT_TRUE(toolbar.complete());
    PlaylistView list(person_, main);
    ASSERT_TRUE(drag_files(person_, {(player_->at / "Music/low song.wav").string()}, list.screen_x(),
                           list.screen_y_below_rows()));
    ASSERT_TRUE(list.wait_rows(1));

    list.click_row(0);
    ASSERT_TRUE(list.selected(0));
    for (int item : {TOOL_PLAY, TOOL_NEXT, TOOL_PREVIOUS, TOOL_PAUSE, TOOL_STOP, TOOL_PLAY, TOOL_STOP})
        toolbar.press(item);
    EXPECT_TRUE(hears_silence_soon()) << "no server, yet something played";
    EXPECT_EQ(person_.titles(), std::vector<std::string>{MAIN_TITLE}) << "a box came up";

    // Still answering: the help box comes and goes, and closing asks.
    toolbar.press(TOOL_HELP);
    EXPECT_TRUE(press_return_on(person_, "Help & Info")) << "the program stopped answering";
    person_.close_request(main);
    const unsigned long question = person_.wait_for("Unsaved Data!");
    ASSERT_NE(question, 0u) << "closing with unsaved changes asked nothing";
    person_.focus(question);
    person_.key_with_alt(XK_n);
    EXPECT_EQ(program.exit_code(), 0);
}

}  // namespace
