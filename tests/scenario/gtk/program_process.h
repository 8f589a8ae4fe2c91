// The native program as a process of its own, met as a person meets it: a
// fresh home folder, the start-up boxes answered with Return (the no-sound
// box, when it comes, before the testing notice), then the main window.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/x_person.h"

inline constexpr char MAIN_TITLE[] = ".: Tunelathe :.V 0.5.206";

// The main window's title while the file is the current playlist.
std::string title_with(const std::string& file_name);

struct ProgramStart {
    std::filesystem::path home;  // made empty for this start
    bool sound = true;           // false: an audio server address where none listens
    std::string program;         // the program file; empty for this build's own
    std::vector<std::string> arguments;  // what it is started with, as from a file manager's "Open with"
    std::filesystem::path folder;        // the folder it starts in; empty for the test's own
    int scale = 1;  // device pixels per unit of the screen it meets (GDK_SCALE), 2 on a high-density one
};

class NativeProgram {
public:
    // Starts the program and answers its start-up boxes; main_window is 0
    // when any step failed.
    NativeProgram(XPerson& person, const ProgramStart& start);
    ~NativeProgram();  // ends it if it is still running
    NativeProgram(const NativeProgram&) = delete;
    NativeProgram& operator=(const NativeProgram&) = delete;

    bool running();
    pid_t pid() const { return pid_; }  // -1 once it ended
    // Its exit code once it ended; -1 after timeout_ms or when a signal ended it.
    int exit_code(int timeout_ms = 10000);

    int no_sound_boxes = 0;
    std::vector<XPerson::Icon> no_sound_icons;  // the icon the last no-sound box offered
    bool notice_seen = false;
    std::string notice_copy;  // what Ctrl+C copied from the notice
    bool notice_before_main = false;  // no main window while the notice was up
    unsigned long main_window = 0;

private:
    pid_t pid_ = -1;
    int ended_code_ = -1;
};

// Answers the program's box of that title with Return; false when none came.
bool press_return_on(XPerson& person, const std::string& title, int timeout_ms = 10000);
// Presses the button of the program's box of that title by its underlined
// letter (Alt and the letter); false when no such box came or it stayed.
bool answer_box(XPerson& person, const std::string& title, unsigned long letter_keysym);
// Waits until no shown window has that title; false after timeout_ms.
bool wait_gone(XPerson& person, const std::string& title, int timeout_ms = 10000);
