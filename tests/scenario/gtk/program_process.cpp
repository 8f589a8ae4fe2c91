#include "tests/scenario/gtk/program_process.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

void pause_ms(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

constexpr char NO_SOUND[] = "No sound available!";
constexpr char NOTICE[] = "Information on TESTING version";

}  // namespace

std::string title_with(const std::string& file_name) { return std::string(MAIN_TITLE) + " : " + file_name; }

NativeProgram::NativeProgram(XPerson& person, const ProgramStart& start) {
    std::filesystem::remove_all(start.home);
    std::filesystem::create_directories(start.home);
    pid_ = fork();
    if (pid_ < 0) return;
    if (pid_ == 0) {
        // Typing into the file chooser makes GTK itself print a critical,
        // which must not end the program.
        unsetenv("G_DEBUG");
        setenv("HOME", start.home.c_str(), 1);
        setenv("GDK_SCALE", std::to_string(start.scale).c_str(), 1);
        // An explicit address where none listens also keeps the sound library from starting a server.
        if (!start.sound) setenv("PULSE_SERVER", "unix:/nonexistent", 1);
        // The sanitizers' leak report on GTK's memory at exit would change the exit code.
        setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
        if (!start.folder.empty() && chdir(start.folder.c_str()) != 0) _exit(126);
        std::string program = start.program.empty() ? TUNELATHE_PROGRAM : start.program;
        std::vector<char*> argv{program.data()};
        std::vector<std::string> arguments = start.arguments;
        for (std::string& argument : arguments) argv.push_back(argument.data());
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    // The boxes come one after the other, the no-sound box (if any) first.
    for (int waited = 0; waited < 30000 && !notice_seen && running(); waited += 50) {
        if (unsigned long box = person.find(NO_SOUND)) {
            ++no_sound_boxes;
            no_sound_icons = person.icons(box);
            person.press_return(box);
            wait_gone(person, NO_SOUND, 5000);
        } else if (unsigned long notice = person.find(NOTICE)) {
            notice_seen = true;
            notice_before_main = person.find(MAIN_TITLE) == 0;
            notice_copy = person.copied_text(notice);
            person.press_return(notice);
        } else {
            pause_ms(50);
        }
    }
    if (!notice_seen) return;
    main_window = person.wait_for(MAIN_TITLE, 20000);
    pause_ms(500);  // drawn
}

NativeProgram::~NativeProgram() {
    if (pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
}

bool NativeProgram::running() {
    if (pid_ <= 0) return false;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) != pid_) return true;
    // Ended: its code is kept for exit_code, as the process is gone.
    ended_code_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    pid_ = -1;
    return false;
}

int NativeProgram::exit_code(int timeout_ms) {
    if (pid_ <= 0) return ended_code_;
    ended_code_ = exit_code_of(pid_, timeout_ms);
    pid_ = -1;
    return ended_code_;
}

bool press_return_on(XPerson& person, const std::string& title, int timeout_ms) {
    const unsigned long box = person.wait_for(title, timeout_ms);
    if (!box) return false;
    pause_ms(300);  // drawn and ready for keys
    person.press_return(box);
    return wait_gone(person, title);
}

bool answer_box(XPerson& person, const std::string& title, unsigned long letter_keysym) {
    const unsigned long box = person.wait_for(title);
    if (!box) return false;
    pause_ms(300);  // drawn and ready for keys
    person.focus(box);
    person.key_with_alt(letter_keysym);
    return wait_gone(person, title);
}

bool wait_gone(XPerson& person, const std::string& title, int timeout_ms) {
    for (int waited = 0; waited < timeout_ms; waited += 50) {
        if (!person.find(title)) return true;
        pause_ms(50);
    }
    return false;
}
