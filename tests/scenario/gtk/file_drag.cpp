#include "tests/scenario/gtk/file_drag.h"

#include <chrono>
#include <thread>

#include "tests/support/file_source_process.h"

namespace {

// Where the source's window stands, clear of the program's centred window.
constexpr int SOURCE_X = 1100, SOURCE_Y = 20;

bool drag_from(XPerson& person, const std::vector<std::string>& items, int to_x, int to_y) {
    const FileSourceProcess source(GTK_FILE_SOURCE, SOURCE_X, SOURCE_Y, items);
    if (!source.ready()) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // drawn
    person.drag(SOURCE_X + 60, SOURCE_Y + 30, to_x, to_y);
    // The target asks the source for the data after the release.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    return true;
}

}  // namespace

bool drag_files(XPerson& person, const std::vector<std::string>& paths, int to_x, int to_y) {
    return drag_from(person, paths, to_x, to_y);
}

bool drag_uri_list(XPerson& person, const std::string& list, int to_x, int to_y) {
    return drag_from(person, {"--raw", list}, to_x, to_y);
}
