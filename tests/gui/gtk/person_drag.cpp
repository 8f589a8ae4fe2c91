// The dragging person under GTK: the file manager stand-in
// (tests/support/gtk_file_source) offers the files in a window of its own;
// the pointer presses on them there, moves onto the row through the X server
// and lets go. During a requester this happens from inside the requester's
// own loop, then the person clicks its OK button.
#include "tests/gui/person_drag.h"

#include <gtk/gtk.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/gui/gtk/gadget_support.h"
#include "tests/support/gtk_desktop.h"
#include "tests/support/gtk_file_drag.h"

namespace {

Desktop& desktop() {
    static Desktop person;
    return person;
}

}  // namespace

struct DragDuringRequester::Watch {
    std::unique_ptr<DialogAnswer> answer;
    bool done = false;
};

void drag_files_onto_row(ObjectNumber list, int row, const std::vector<std::filesystem::path>& files) {
    std::vector<std::string> offered;
    for (const std::filesystem::path& file : files) offered.push_back(file.string());
    ASSERT_TRUE(wait_drawn(gtk_widget_get_toplevel(GTK_WIDGET(tree_view_of(list)))));
    const ScreenPoint target = row_point(list, row);
    ASSERT_TRUE(drag_files_to(desktop(), GTK_FILE_SOURCE, target.x, target.y, offered));
}

DragDuringRequester::DragDuringRequester(ObjectNumber list, int row, std::vector<std::filesystem::path> files)
    : watch_(new Watch) {
    Watch* watch = watch_.get();
    watch->answer = std::make_unique<DialogAnswer>([=](GtkWidget* dialog) {
        drag_files_onto_row(list, row, files);
        const ScreenBox ok = screen_box(dialog_button(dialog, "_OK"));
        desktop().click(ok.x + ok.width / 2, ok.y + ok.height / 2);
        watch->done = true;
    });
}

DragDuringRequester::~DragDuringRequester() = default;

bool DragDuringRequester::done() const { return watch_->done; }
