// Drop targets on GTK: a window or a list gadget accepts file lists dragged
// from other programs (the text/uri-list target of the X drag protocol). The
// action follows the portable choice; a list marks the row under the pointer
// and selects it on the drop; the dropped files go to the event queue as a
// file list block (the layout drop_file_list_check reads, UTF-16 names). A
// list with any entry that is not a file here is refused as a whole.
#include <gtk/gtk.h>

#include <cstddef>
#include <cstdint>

#include "runtime/gui/drop.h"
#include "runtime/gui/drop_effect.h"
#include "runtime/gui/drop_uri_list.h"
#include "runtime/gui/event.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/gtk/drop_gtk.h"
#include "runtime/gui/gtk/gui_gtk.h"
#include "runtime/gui/window.h"

namespace {

constexpr char DROP_ACCEPT_PROPERTY[] = "QX_DropAccept";
constexpr char URI_LIST[] = "text/uri-list";

struct DropTarget {
    ObjectNumber number;  // the window or gadget reported with the drop
    int owner_kind;       // 0 for a window, else the gadget's kind
    int actions;          // allowed for file lists; 0 = none
    // The drop in progress, between the drop and the arrival of its data.
    int effect;
    int x;
    int y;
};

DropTarget* target_of(GtkWidget* widget) {
    return static_cast<DropTarget*>(g_object_get_data(G_OBJECT(widget), DROP_ACCEPT_PROPERTY));
}

int actions_of(GdkDragAction actions) {
    return ((actions & GDK_ACTION_COPY) ? DROP_ACTION_COPY : 0) |
           ((actions & GDK_ACTION_MOVE) ? DROP_ACTION_MOVE : 0) | ((actions & GDK_ACTION_LINK) ? DROP_ACTION_LINK : 0);
}

GdkDragAction gdk_action_of(int effect) {
    switch (effect) {
    case DROP_ACTION_COPY: return GDK_ACTION_COPY;
    case DROP_ACTION_MOVE: return GDK_ACTION_MOVE;
    case DROP_ACTION_LINK: return GDK_ACTION_LINK;
    default: return GdkDragAction(0);
    }
}

int key_state(GtkWidget* widget, GdkDragContext* context) {
    GdkModifierType modifiers = GdkModifierType(0);
    gdk_window_get_device_position(gtk_widget_get_window(widget), gdk_drag_context_get_device(context), nullptr,
                                   nullptr, &modifiers);
    return ((modifiers & GDK_SHIFT_MASK) ? DROP_KEY_SHIFT : 0) |
           ((modifiers & GDK_CONTROL_MASK) ? DROP_KEY_CONTROL : 0) | ((modifiers & GDK_MOD1_MASK) ? DROP_KEY_ALT : 0);
}

// A window that takes no input takes no drop either: neither an insensitive
// one nor one outside the modal window (a requester) that holds the input.
// GTK hands drags past both.
bool takes_input(GtkWidget* widget) {
    GtkWidget* modal = gtk_grab_get_current();
    return gtk_widget_is_sensitive(widget) &&
           (!modal || gtk_widget_get_toplevel(modal) == gtk_widget_get_toplevel(widget));
}

int effect_of(GtkWidget* widget, GdkDragContext* context, const DropTarget& target) {
    if (target.actions == 0 || !takes_input(widget) ||
        gtk_drag_dest_find_target(widget, context, nullptr) == GDK_NONE)
        return 0;
    return drop_effect_choose(target.actions, key_state(widget, context),
                              actions_of(gdk_drag_context_get_actions(context)));
}

// The list row under a point of the tree view, -1 when none.
int row_at(GtkWidget* widget, int x, int y) {
    GtkTreePath* path = nullptr;
    if (!GTK_IS_TREE_VIEW(widget) ||
        !gtk_tree_view_get_dest_row_at_pos(GTK_TREE_VIEW(widget), x, y, &path, nullptr))
        return -1;
    const int row = gtk_tree_path_get_indices(path)[0];
    gtk_tree_path_free(path);
    return row;
}

void mark_row(GtkWidget* widget, int row) {
    if (!GTK_IS_TREE_VIEW(widget)) return;
    GtkTreePath* path = row >= 0 ? gtk_tree_path_new_from_indices(row, -1) : nullptr;
    gtk_tree_view_set_drag_dest_row(GTK_TREE_VIEW(widget), path, GTK_TREE_VIEW_DROP_INTO_OR_AFTER);
    if (path) gtk_tree_path_free(path);
}

gboolean on_motion(GtkWidget* widget, GdkDragContext* context, int x, int y, guint time, gpointer) {
    DropTarget* target = target_of(widget);
    const int effect = target ? effect_of(widget, context, *target) : 0;
    gdk_drag_status(context, gdk_action_of(effect), time);
    mark_row(widget, effect ? row_at(widget, x, y) : -1);
    return TRUE;
}

void on_leave(GtkWidget* widget, GdkDragContext*, guint, gpointer) { mark_row(widget, -1); }

gboolean on_drop(GtkWidget* widget, GdkDragContext* context, int x, int y, guint time, gpointer) {
    DropTarget* target = target_of(widget);
    const int effect = target ? effect_of(widget, context, *target) : 0;
    if (!effect) {
        mark_row(widget, -1);
        gtk_drag_finish(context, FALSE, FALSE, time);
        return TRUE;
    }
    target->effect = effect;
    target->x = x;
    target->y = y;
    gtk_drag_get_data(widget, context, gdk_atom_intern_static_string(URI_LIST), time);
    return TRUE;
}

void on_data(GtkWidget* widget, GdkDragContext* context, int, int, GtkSelectionData* selection, guint, guint time,
             gpointer) {
    DropTarget* target = target_of(widget);
    int length = 0;
    const guchar* list = gtk_selection_data_get_data_with_length(selection, &length);
    std::size_t size = 0;
    void* block = target && list && length >= 0 && gtk_selection_data_get_format(selection) == 8
                      ? drop_uri_list_files(reinterpret_cast<const char*>(list), static_cast<std::size_t>(length),
                                            g_get_host_name(), &size)
                      : nullptr;
    mark_row(widget, -1);
    DropRecord* record = block ? drop_record_make({DROP_FORMAT_FILES, 0, target->effect, target->x, target->y,
                                                   block, size})
                               : nullptr;
    gtk_drag_finish(context, record != nullptr, FALSE, time);
    if (!record) return;
    if (target->owner_kind == 0) {
        event_post(EVENT_WINDOW_DROP, target->number, target->number, -1, record, drop_record_free);
        return;
    }
    // The row under the drop becomes the selection, as a person's click would make it.
    gadget_state_set(target->number, row_at(widget, target->x, target->y));
    event_post(EVENT_GADGET_DROP, target->number, window_number_of(widget), -1, record, drop_record_free);
}

}  // namespace

void drop_enable(ObjectNumber number, int owner_kind, std::intptr_t handle, int format, int actions, int) {
    auto* widget = reinterpret_cast<GtkWidget*>(handle);
    if (!widget || format != DROP_FORMAT_FILES) return;
    // A list takes drops on its rows, inside its scroller.
    if (GTK_IS_SCROLLED_WINDOW(widget)) widget = gtk_bin_get_child(GTK_BIN(widget));
    DropTarget* target = target_of(widget);
    if (!target) {
        target = new DropTarget{number, owner_kind, 0, 0, 0, 0};
        g_object_set_data_full(G_OBJECT(widget), DROP_ACCEPT_PROPERTY, target,
                               [](gpointer data) { delete static_cast<DropTarget*>(data); });
        GtkTargetEntry entry{const_cast<gchar*>(URI_LIST), 0, 0};
        gtk_drag_dest_set(widget, GtkDestDefaults(0), &entry, 1,
                          GdkDragAction(GDK_ACTION_COPY | GDK_ACTION_MOVE | GDK_ACTION_LINK));
        g_signal_connect(widget, "drag-motion", G_CALLBACK(on_motion), nullptr);
        g_signal_connect(widget, "drag-leave", G_CALLBACK(on_leave), nullptr);
        g_signal_connect(widget, "drag-drop", G_CALLBACK(on_drop), nullptr);
        g_signal_connect(widget, "drag-data-received", G_CALLBACK(on_data), nullptr);
    }
    target->actions = actions;
}

void window_drop_enable(ObjectNumber window, int format, int actions, int private_type) {
    if (std::intptr_t handle = window_handle(window)) drop_enable(window, 0, handle, format, actions, private_type);
}
