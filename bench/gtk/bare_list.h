// The bare GTK list the native benchmarks measure the program against: a tree
// view over a store of one text column, set up as the program's list is (no
// header, rows of one height, a sunken frame), in a scroller of the size of
// the program's list.
#pragma once

#include <gtk/gtk.h>

// The scroller holding the view; *store is the view's store, owned by it.
GtkWidget* bare_list_new(GtkListStore** store);
