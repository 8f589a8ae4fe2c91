// A stand-in for the desktop's file manager, as a program of its own: a small
// window at the given place from which the given files can be dragged (as a
// text/uri-list, offering copy, move and link). Prints "ready" once shown and
// ends when its window is closed or stdin ends. With --raw the one argument
// after it is the dragged list itself, byte for byte, as a program that
// offers something other than local files, or a broken list, would send it.
//
//   gtk_file_source X Y FILE...
//   gtk_file_source X Y --raw LIST
#include <gtk/gtk.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

std::vector<gchar*> uris;
const char* raw = nullptr;

void on_data_get(GtkWidget*, GdkDragContext*, GtkSelectionData* selection, guint, guint, gpointer) {
    if (raw)
        gtk_selection_data_set(selection, gdk_atom_intern_static_string("text/uri-list"), 8,
                               reinterpret_cast<const guchar*>(raw), static_cast<gint>(std::strlen(raw)));
    else
        gtk_selection_data_set_uris(selection, uris.data());
}

gboolean on_mapped(GtkWidget*, GdkEvent*, gpointer) {
    std::printf("ready\n");
    std::fflush(stdout);
    return FALSE;
}

gboolean on_stdin(GIOChannel*, GIOCondition, gpointer) {
    gtk_main_quit();
    return G_SOURCE_REMOVE;
}

}  // namespace

int main(int argc, char** argv) {
    gtk_init(&argc, &argv);
    if (argc < 4) return 2;
    if (std::strcmp(argv[3], "--raw") == 0) {
        raw = argc > 4 ? argv[4] : "";
    } else {
        for (int i = 3; i < argc; ++i) uris.push_back(g_filename_to_uri(argv[i], nullptr, nullptr));
    }
    uris.push_back(nullptr);

    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_decorated(GTK_WINDOW(window), FALSE);
    gtk_window_move(GTK_WINDOW(window), std::atoi(argv[1]), std::atoi(argv[2]));
    GtkWidget* files = gtk_event_box_new();
    gtk_container_add(GTK_CONTAINER(files), gtk_label_new("files"));
    gtk_widget_set_size_request(files, 120, 60);
    gtk_container_add(GTK_CONTAINER(window), files);
    GtkTargetEntry entry{const_cast<gchar*>("text/uri-list"), 0, 0};
    gtk_drag_source_set(files, GDK_BUTTON1_MASK, &entry, 1,
                        GdkDragAction(GDK_ACTION_COPY | GDK_ACTION_MOVE | GDK_ACTION_LINK));
    g_signal_connect(files, "drag-data-get", G_CALLBACK(on_data_get), nullptr);
    g_signal_connect(window, "map-event", G_CALLBACK(on_mapped), nullptr);
    g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
    GIOChannel* input = g_io_channel_unix_new(0);
    g_io_add_watch(input, GIOCondition(G_IO_IN | G_IO_HUP | G_IO_ERR), on_stdin, nullptr);
    gtk_widget_show_all(window);
    gtk_main();
    return 0;
}
