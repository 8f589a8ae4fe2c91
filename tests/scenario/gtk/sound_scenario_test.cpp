// A playlist on a player's file system, opened through the file chooser and
// played by the native program as a process of its own, with a working audio
// device (the private audio server of tests/support/with-audio-server). Each
// row plays the file the player would open for its line: a line starting at
// the file system's root means its mount point, a relative one the
// playlist's folder. What played is heard on the server's monitor, told apart
// by the songs' pitches. A second X client acts as the person.
#include <gtest/gtest.h>

#include <X11/keysym.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "tests/support/monitor_probe.h"
#include "tests/support/x_person.h"

namespace {

// The toolbar's buttons stand in item order, so a button's index among them is its item.
constexpr int OPEN = 1, STOP = 8, PLAY = 9;
constexpr int TOOLBAR_BUTTONS = 15;
constexpr double LOW_HZ = 440, HIGH_HZ = 550;
// Where the program puts its list below the toolbar, in the main window.
constexpr int LIST_X = 5, LIST_Y = 30;
constexpr char MAIN_TITLE[] = ".: Tunelathe :.V 0.5.206";

void pause_ms(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

// A tmpfs of its own, as a player plugged in; gone again whatever happens.
struct PlayerMount {
    std::filesystem::path at;
    bool mounted = false;
    explicit PlayerMount(std::filesystem::path where) : at(std::move(where)) {
        std::filesystem::create_directories(at);
        mounted = mount("tunelathe-player", at.c_str(), "tmpfs", 0, "size=32m") == 0;
    }
    ~PlayerMount() {
        if (mounted) umount2(at.c_str(), MNT_DETACH);
    }
};

// The program started as a process of its own, ended at the latest with the test.
struct Program {
    pid_t pid = -1;
    ~Program() {
        if (pid > 0 && waitpid(pid, nullptr, WNOHANG) == 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }
    int exit_code() {
        const int code = exit_code_of(pid);
        pid = -1;
        return code;
    }
};

TEST(SoundScenario, AnOpenedPlaylistPlaysTheTracksThePlayerWould) {
    const char* songs = std::getenv("SOUND_TEST_DIR");
    ASSERT_NE(songs, nullptr) << "run this program through tests/support/with-audio-server";
    const std::filesystem::path work = songs;
    PlayerMount player(work / "Player Drive");
    ASSERT_TRUE(player.mounted) << "mounting a file system needs root: " << std::strerror(errno);
    std::filesystem::create_directories(player.at / "Music");
    std::filesystem::create_directories(player.at / "Playlists");
    std::filesystem::copy_file(work / "first.wav", player.at / "Music/low.wav");
    std::filesystem::copy_file(work / "second.wav", player.at / "Music/high.wav");
    {
        std::ofstream list(player.at / "Playlists/list.m3u", std::ios::binary);
        list << "#EXTM3U\r\n/Music/low.wav\r\n..\\Music\\high.wav\r\n";
    }
    const std::filesystem::path home = work / "home";
    std::filesystem::create_directories(home);

    XPerson person;
    ASSERT_TRUE(person.open());
    Program program;
    program.pid = fork();
    ASSERT_GE(program.pid, 0);
    if (program.pid == 0) {
        // PULSE_SERVER names the private audio server. Typing into the file
        // chooser makes GTK itself print a critical, which must not end the program.
        unsetenv("G_DEBUG");
        setenv("HOME", home.c_str(), 1);
        // The sanitizers' leak report on GTK's memory at exit would change the exit code.
        setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
        execl(TUNELATHE_PROGRAM, TUNELATHE_PROGRAM, static_cast<char*>(nullptr));
        _exit(127);
    }

    const unsigned long notice = person.wait_for("Information on TESTING version", 20000);
    ASSERT_NE(notice, 0u);
    EXPECT_EQ(person.find("No sound available!"), 0u) << "sound works, yet the program said it did not";
    person.press_return(notice);
    const unsigned long main = person.wait_for(MAIN_TITLE, 20000);
    ASSERT_NE(main, 0u);
    pause_ms(500);  // drawn
    const XPerson::Box window = person.box(main);

    // The buttons as a person sees them along the toolbar: icons; separators are thin lines.
    std::vector<XPerson::Stretch> buttons;
    for (const XPerson::Stretch& seen : person.ink(main, {0, 0, window.width, LIST_Y - 1}, false, 3))
        if (seen.length() >= 6) buttons.push_back(seen);
    ASSERT_EQ(buttons.size(), static_cast<size_t>(TOOLBAR_BUTTONS));
    const int toolbar_middle = (LIST_Y - 1) / 2;
    auto press = [&](int item) {
        person.click(window.x + buttons[item].middle(), window.y + toolbar_middle);
        // Away from the button, as a person's hand goes, so that its tooltip covers no row.
        person.move_to(window.x + window.width - 50, window.y + window.height - 50);
        pause_ms(300);
    };

    press(OPEN);
    const unsigned long chooser = person.wait_for("Open M3U file", 15000);
    ASSERT_NE(chooser, 0u) << "Open showed no file chooser";
    pause_ms(500);
    person.focus(chooser);
    // Ctrl+L opens the location entry before the first character, which is then not lost.
    person.key_with_control(XK_l);
    pause_ms(500);
    const std::string playlist = (player.at / "Playlists/list.m3u").string();
    person.type(playlist.c_str());
    pause_ms(500);
    person.key(XK_Return);
    ASSERT_TRUE(person.wait_for_title(main, std::string(MAIN_TITLE) + " : list.m3u"))
        << "the playlist was not opened; the title is " << person.title_of(main);
    // The screen shows the list once the chooser no longer covers it.
    for (int waited = 0; person.find("Open M3U file") && waited < 5000; waited += 50) pause_ms(50);
    pause_ms(500);

    // The rows as a person sees them: lines of text down the list.
    const XPerson::Box list_area{LIST_X + 3, LIST_Y + 1, 300, 150};
    const std::vector<XPerson::Stretch> rows = person.ink(main, list_area, true, 2);
    ASSERT_EQ(rows.size(), 3u) << "the playlist's three lines as rows";
    const int row_x = window.x + LIST_X + 30;
    const int beyond_text = LIST_X + 400;
    const unsigned long list_colour = person.pixel(main, beyond_text, rows[2].to + 40);
    auto selected = [&](int row) {
        // A chosen row is highlighted across the list, beyond its text.
        for (int waited = 0; waited < 3000; waited += 50) {
            if (person.pixel(main, beyond_text, rows[row].middle()) != list_colour) return true;
            pause_ms(50);
        }
        return false;
    };

    // The third line is relative to the playlist's folder: the high song.
    person.click(row_x, window.y + rows[2].middle());
    ASSERT_TRUE(selected(2)) << "the click selected no row";
    press(PLAY);
    EXPECT_TRUE(hears_song_soon(HIGH_HZ)) << "Play on ..\\Music\\high.wav";
    press(STOP);
    EXPECT_TRUE(hears_silence_soon()) << "Stop";

    // The second line starts at the file system's root: the low song.
    person.click(row_x, window.y + rows[1].middle());
    ASSERT_TRUE(selected(1)) << "the click selected no row";
    press(PLAY);
    EXPECT_TRUE(hears_song_soon(LOW_HZ)) << "Play on /Music/low.wav";
    press(STOP);

    // The header line names no track: nothing plays, nothing breaks.
    person.click(row_x, window.y + rows[0].middle());
    ASSERT_TRUE(selected(0)) << "the click selected no row";
    press(PLAY);
    EXPECT_TRUE(hears_silence_soon()) << "Play on #EXTM3U";
    press(STOP);
    EXPECT_EQ(person.titles(), std::vector<std::string>{std::string(MAIN_TITLE) + " : list.m3u"}) << "a box came up";

    // Nothing was changed: closing asks nothing.
    person.close_request(main);
    EXPECT_EQ(program.exit_code(), 0);
}

}  // namespace
