#include "tests/scenario/gtk/file_chooser.h"

#include <X11/keysym.h>

#include <chrono>
#include <thread>

#include "tests/scenario/gtk/program_process.h"

namespace {

void pause_ms(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

}  // namespace

bool type_into_chooser(XPerson& person, const std::string& title, const std::string& path) {
    const unsigned long chooser = person.wait_for(title, 15000);
    if (!chooser) return false;
    pause_ms(500);  // drawn, its folder read
    person.focus(chooser);
    person.key_with_control(XK_l);
    pause_ms(500);
    // A save chooser proposes a name; all of it goes.
    person.key_with_control(XK_a);
    person.type(path.c_str());
    pause_ms(500);
    person.key(XK_Return);
    return true;
}

bool choose_file(XPerson& person, const std::string& title, const std::string& path) {
    return type_into_chooser(person, title, path) && wait_gone(person, title);
}

bool save_proposed_name_in(XPerson& person, const std::string& title, const std::string& folder) {
    const unsigned long chooser = person.wait_for(title, 15000);
    if (!chooser) return false;
    pause_ms(500);
    person.focus(chooser);
    person.key_with_control(XK_l);
    pause_ms(500);
    person.key(XK_Home);
    person.type((folder + "/").c_str());
    pause_ms(500);
    person.key(XK_Return);
    return wait_gone(person, title);
}

bool cancel_chooser(XPerson& person, const std::string& title) {
    const unsigned long chooser = person.wait_for(title, 15000);
    if (!chooser) return false;
    pause_ms(500);
    person.focus(chooser);
    person.key(XK_Escape);
    return wait_gone(person, title);
}
