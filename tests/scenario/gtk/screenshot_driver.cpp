// Puts the native program into the state a README screenshot shows: started
// at the given scale with the playlist given, its boxes answered, the third
// row chosen. Then prints "ready X Y WIDTH HEIGHT" (the main window on the
// screen, in device pixels) and waits until the file named by its first
// argument exists, so that the caller can take the picture; finally closes
// the program.
#include <X11/keysym.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>

#include "tests/scenario/gtk/program_process.h"
#include "tests/support/x_person.h"

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: screenshot_driver TAKEN_FILE PLAYLIST SCALE HOME\n");
        return 2;
    }
    XPerson person;
    if (!person.open()) return 1;
    ProgramStart start{argv[4], false};
    start.arguments = {argv[2]};
    start.scale = std::stoi(argv[3]);
    NativeProgram program(person, start);
    if (!program.main_window) return 1;
    const XPerson::Box box = person.box(program.main_window);
    // The first row lies just inside the list's top, below the toolbar; the
    // arrow key goes on from there.
    person.click(box.x + 40 * start.scale, box.y + 40 * start.scale);
    person.key(XK_Down);
    person.key(XK_Down);
    person.move_to(person.screen_width() - 5, person.screen_height() - 5);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));  // the list repaints
    std::printf("ready %d %d %d %d\n", box.x, box.y, box.width, box.height);
    std::fflush(stdout);
    for (int waited = 0; waited < 60000 && !std::filesystem::exists(argv[1]); waited += 100)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    person.close_request(program.main_window);
    return program.exit_code() == 0 ? 0 : 1;
}
