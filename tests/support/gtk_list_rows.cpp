#include "tests/support/gtk_list_rows.h"

#include "runtime/gui/gadget.h"
#include "tests/support/gtk_desktop.h"

GtkTreeView* tree_view_of(ObjectNumber list) {
    auto* scroller = reinterpret_cast<GtkWidget*>(gadget_handle(list));
    return GTK_TREE_VIEW(gtk_bin_get_child(GTK_BIN(scroller)));
}

ScreenPoint row_point(ObjectNumber list, int row) {
    GtkTreeView* view = tree_view_of(list);
    GdkRectangle cell;
    GtkTreePath* path = gtk_tree_path_new_from_indices(row, -1);
    gtk_tree_view_get_cell_area(view, path, nullptr, &cell);
    gtk_tree_path_free(path);
    int x = 0, y = 0;
    gtk_tree_view_convert_bin_window_to_widget_coords(view, cell.x + 20, cell.y + cell.height / 2, &x, &y);
    const ScreenBox box = screen_box(GTK_WIDGET(view));
    return {box.x + x, box.y + y};
}
