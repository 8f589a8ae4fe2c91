#include "tests/support/gtk_file_drag.h"

#include "runtime/gui/drop.h"
#include "tests/support/gtk_desktop.h"

namespace {

// Where the source's window stands, clear of the windows under test.
constexpr int SOURCE_X = 700;
constexpr int SOURCE_Y = 100;

}  // namespace

HeldFiles::HeldFiles(Desktop& desktop, const char* source_program, int to_x, int to_y,
                     const std::vector<std::string>& files, const std::vector<unsigned long>& held_keys)
    : desktop_(desktop), source_(source_program, SOURCE_X, SOURCE_Y, files), keys_(held_keys) {
    if (!source_.ready()) return;
    for (unsigned long key : keys_) desktop.key_down(key);
    const int from_x = SOURCE_X + 60, from_y = SOURCE_Y + 30;
    desktop.pointer_to(from_x, from_y);
    run_for(50);
    desktop.press();
    run_for(50);
    for (int step = 1; step <= 10; ++step) {
        desktop.pointer_to(from_x + (to_x - from_x) * step / 10, from_y + (to_y - from_y) * step / 10);
        run_for(40);
    }
    run_for(100);
}

void HeldFiles::let_go() {
    const int records = drop_record_live_count();
    desktop_.release();
    // The data goes from the source to the target before the source ends; a
    // target that refuses it makes no record.
    run_until([&] { return drop_record_live_count() > records; }, 2000);
    for (auto key = keys_.rbegin(); key != keys_.rend(); ++key) desktop_.key_up(*key);
}

bool drag_files_to(Desktop& desktop, const char* source_program, int to_x, int to_y,
                   const std::vector<std::string>& files, const std::vector<unsigned long>& held_keys) {
    HeldFiles held(desktop, source_program, to_x, to_y, files, held_keys);
    if (!held.ready()) return false;
    held.let_go();
    return true;
}
