// The main window under GTK: its title as the window manager reads it, files
// dragged onto the list from another program through the X drag protocol,
// and the close request a window manager's close button sends.
#include "tests/app/app_support.h"

#include <gtk/gtk.h>

#include <algorithm>

#include "app/app_state.h"
#include "app/playlist.h"
#include "runtime/gui/event.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/toolbar.h"
#include "runtime/gui/window.h"
#include "tests/app/gtk/app_gtk.h"
#include "tests/support/gtk_desktop.h"
#include "tests/support/gtk_file_drag.h"
#include "tests/support/gtk_list_rows.h"

namespace {

Desktop& desktop() {
    static Desktop person;
    return person;
}

GtkWidget* main_window() { return reinterpret_cast<GtkWidget*>(window_handle(MAIN_WINDOW)); }

// Where a drop over the row lands; below the last row (-1), 10 pixels under
// it but inside the list.
ScreenPoint drop_point(int row) {
    GtkTreeView* view = tree_view_of(PLAYLIST_GADGET);
    const int count = gadget_item_count(PLAYLIST_GADGET);
    if (row >= 0) {
        GtkTreePath* path = gtk_tree_path_new_from_indices(row, -1);
        gtk_tree_view_scroll_to_cell(view, path, nullptr, FALSE, 0, 0);
        gtk_tree_path_free(path);
        run_for(50);
        return row_point(PLAYLIST_GADGET, row);
    }
    int x = 30, y = 10;
    if (count > 0) {
        GdkRectangle cell;
        GtkTreePath* last = gtk_tree_path_new_from_indices(count - 1, -1);
        gtk_tree_view_get_cell_area(view, last, nullptr, &cell);
        gtk_tree_path_free(last);
        gtk_tree_view_convert_bin_window_to_widget_coords(view, 30, cell.y + cell.height + 10, &x, &y);
        y = std::min(y, gtk_widget_get_allocated_height(GTK_WIDGET(view)) - 2);
    }
    const ScreenBox box = screen_box(GTK_WIDGET(view));
    return {box.x + x, box.y + y};
}

}  // namespace

std::wstring main_title() {
    return wide_of(gtk_window_get_title(GTK_WINDOW(main_window())));
}

void bring_main_window_to_front() {
    GtkWidget* window = main_window();
    ASSERT_TRUE(wait_drawn(window));
    desktop().focus(window);
    ASSERT_TRUE(run_until([window] { return gtk_window_is_active(GTK_WINDOW(window)); }));
}

bool drop_files(const std::vector<std::u16string>& paths, int over_row) {
    std::vector<std::string> files;
    for (const std::u16string& path : paths) files.push_back(utf8(path));
    const ScreenPoint at = drop_point(over_row);
    if (!drag_files_to(desktop(), GTK_FILE_SOURCE, at.x, at.y, files)) return false;
    if (!wait_for_event(EVENT_GADGET_DROP)) return false;
    HandleFileDrop();
    return true;
}

bool close_request() {
    desktop().close_request(main_window());
    return wait_for_event(EVENT_CLOSE_WINDOW);
}

void focus_playlist() { gtk_widget_grab_focus(GTK_WIDGET(tree_view_of(PLAYLIST_GADGET))); }

void focus_toolbar() {
    auto* bar = GTK_TOOLBAR(reinterpret_cast<GtkWidget*>(toolbar_handle(MAIN_TOOLBAR)));
    GtkWidget* button = gtk_bin_get_child(GTK_BIN(gtk_toolbar_get_nth_item(bar, 0)));
    gtk_widget_grab_focus(button);
    ASSERT_TRUE(gtk_widget_has_focus(button));
}
