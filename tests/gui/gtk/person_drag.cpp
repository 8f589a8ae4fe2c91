// The dragging person under GTK: the file manager stand-in
// (tests/support/gtk_file_source) offers the files in a window of its own;
// the pointer presses on them there, moves onto the row through the X server
// and lets go. During a requester this happens from inside the requester's
// own loop, then the person clicks its OK button.
#include "tests/gui/person_drag.h"

#include <X11/keysym.h>
#include <gtk/gtk.h>

#include <gtest/gtest.h>

#include <string>

#include "runtime/gui/drop.h"
#include "runtime/gui/drop_effect.h"
#include "runtime/gui/window.h"
#include "tests/gui/gtk/gadget_support.h"
#include "tests/support/gtk_desktop.h"
#include "tests/support/gtk_file_drag.h"

struct DragDuringRequester::Watch {
    std::unique_ptr<DialogAnswer> answer;
    bool done = false;
};

namespace {

// Presses on the files in the other program, moves onto the point of the
// screen in steps and lets go. Result: the point, relative to the widget.
DropPoint drag_onto(GtkWidget* widget, ScreenPoint target, const std::vector<std::filesystem::path>& files,
                    int keys) {
    std::vector<std::string> offered;
    for (const std::filesystem::path& file : files) offered.push_back(file.string());
    std::vector<unsigned long> held;
    if (keys & DROP_KEY_CONTROL) held.push_back(XK_Control_L);
    if (keys & DROP_KEY_SHIFT) held.push_back(XK_Shift_L);
    if (keys & DROP_KEY_ALT) held.push_back(XK_Alt_L);
    EXPECT_TRUE(drag_files_to(person_desktop(), GTK_FILE_SOURCE, target.x, target.y, offered, held));
    const ScreenBox box = screen_box(widget);
    return {target.x - box.x, target.y - box.y};
}

}  // namespace

DropPoint drag_files_onto_row(ObjectNumber list, int row, const std::vector<std::filesystem::path>& files,
                              int keys) {
    GtkWidget* view = GTK_WIDGET(tree_view_of(list));
    EXPECT_TRUE(wait_drawn(gtk_widget_get_toplevel(view)));
    ScreenPoint target{};
    if (row >= 0) {
        target = row_point(list, row);
    } else {  // below the last row
        target = row_point(list, gtk_tree_model_iter_n_children(gtk_tree_view_get_model(GTK_TREE_VIEW(view)), nullptr) - 1);
        target.y += 40;
    }
    return drag_onto(view, target, files, keys);
}

DropPoint drag_files_onto_window(ObjectNumber window, int x, int y, const std::vector<std::filesystem::path>& files) {
    auto* widget = reinterpret_cast<GtkWidget*>(window_handle(window));
    EXPECT_TRUE(wait_drawn(widget));
    const ScreenBox box = screen_box(widget);
    return drag_onto(widget, {box.x + x, box.y + y}, files, 0);
}

DragDuringRequester::DragDuringRequester(ObjectNumber list, int row, std::vector<std::filesystem::path> files)
    : watch_(new Watch) {
    Watch* watch = watch_.get();
    watch->answer = std::make_unique<DialogAnswer>([=](GtkWidget* dialog) {
        drag_files_onto_row(list, row, files);
        const ScreenBox ok = screen_box(dialog_button(dialog, "_OK"));
        person_desktop().click(ok.x + ok.width / 2, ok.y + ok.height / 2);
        watch->done = true;
    });
}

DragDuringRequester::~DragDuringRequester() = default;

bool DragDuringRequester::done() const { return watch_->done; }
