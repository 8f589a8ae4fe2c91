// The list gadget (kind 6) on a GtkTreeView over a GtkListStore: one text
// column without a header, single selection, item data, colours through CSS,
// row marks (store columns the text's colour and the row's tool tip are read
// from), a press detector that turns a press on a row into a click or,
// moved past the drag threshold, a drag start, and the native side of
// reordering rows by drag (the view's own drop line as the insertion mark).
#include <gtk/gtk.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "runtime/gui/event.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/gtk/gadget_record.h"
#include "runtime/gui/gtk/gui_gtk.h"
#include "runtime/gui/list_native.h"
#include "runtime/text/text.h"

namespace {

enum Column { TEXT_COLUMN, DATA_COLUMN, MARK_COLUMN, TIP_COLUMN };

GtkTreeView* view_of(const GadgetRecord& list) { return GTK_TREE_VIEW(list.control); }
GtkTreeModel* model_of(const GadgetRecord& list) { return GTK_TREE_MODEL(list.store); }

// Changes the runtime makes are no user's doing: they raise no events.
struct Busy {
    explicit Busy(GadgetRecord& gadget) : gadget(gadget) { ++gadget.busy; }
    ~Busy() { --gadget.busy; }
    GadgetRecord& gadget;
};

// Rows are mostly read in order (a save reads them all): the row after the
// one read last is one step from it, not a search from the first. The store's
// iterators stay valid while their rows exist; adding or removing rows
// forgets the row read last, whose number may then have changed.
bool row_iter(GadgetRecord& list, int item, GtkTreeIter* iter) {
    if (item < 0) return false;
    if (list.read_row >= 0 && (item == list.read_row || item == list.read_row + 1)) {
        *iter = list.read_iter;
        if (item != list.read_row && !gtk_tree_model_iter_next(model_of(list), iter)) return false;
    } else if (!gtk_tree_model_iter_nth_child(model_of(list), iter, nullptr, item)) {
        return false;
    }
    list.read_row = item;
    list.read_iter = *iter;
    return true;
}

void forget_read_row(GadgetRecord& list) { list.read_row = -1; }

// Selects the row; an index without a row clears the selection. Result:
// whether a row is selected, then at iter.
bool select_row(GadgetRecord& list, int row, GtkTreeIter* iter) {
    Busy busy(list);
    GtkTreeSelection* selection = gtk_tree_view_get_selection(view_of(list));
    if (!row_iter(list, row, iter)) {
        gtk_tree_selection_unselect_all(selection);
        return false;
    }
    gtk_tree_selection_select_iter(selection, iter);
    return true;
}

void apply_colours(GadgetRecord& list) {
    GtkStyleContext* style = gtk_widget_get_style_context(list.control);
    if (list.colours) {
        gtk_style_context_remove_provider(style, GTK_STYLE_PROVIDER(list.colours));
        g_object_unref(list.colours);
        list.colours = nullptr;
    }
    if (list.front_colour == -1 && list.back_colour == -1) return;
    // Selected rows keep the theme's colours, so the selection stays visible.
    std::string css = "treeview.view:not(:selected) {";
    char part[48];
    for (auto [property, colour] : {std::pair{"color", list.front_colour}, {"background-color", list.back_colour}}) {
        if (colour == -1) continue;
        std::snprintf(part, sizeof part, " %s: #%02x%02x%02x;", property, colour & 0xFF, (colour >> 8) & 0xFF,
                      (colour >> 16) & 0xFF);
        css += part;
    }
    css += " }";
    list.colours = gtk_css_provider_new();
    gtk_css_provider_load_from_data(list.colours, css.c_str(), -1, nullptr);
    gtk_style_context_add_provider(style, GTK_STYLE_PROVIDER(list.colours), GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
}

// The store and the colours' style go with the list.
void list_release(GadgetRecord& list) {
    if (list.drag_scroll) g_source_remove(list.drag_scroll);
    if (list.store) g_object_unref(list.store);
    if (list.colours) g_object_unref(list.colours);
}

}  // namespace

const GadgetNative list_native = {
    .release = list_release,
};

int list_native_count(GadgetRecord& list) { return gtk_tree_model_iter_n_children(model_of(list), nullptr); }

int list_native_selected(GadgetRecord& list) {
    GtkTreeModel* model = nullptr;
    GtkTreeIter iter;
    if (!gtk_tree_selection_get_selected(gtk_tree_view_get_selection(view_of(list)), &model, &iter)) return -1;
    GtkTreePath* path = gtk_tree_model_get_path(model, &iter);
    const int row = gtk_tree_path_get_indices(path)[0];
    gtk_tree_path_free(path);
    return row;
}

void list_native_select(GadgetRecord& list, int row) {
    GtkTreeIter iter;
    if (!select_row(list, row, &iter)) return;
    GtkTreePath* path = gtk_tree_model_get_path(model_of(list), &iter);
    if (gtk_widget_get_realized(list.control)) gtk_tree_view_scroll_to_cell(view_of(list), path, nullptr, FALSE, 0, 0);
    gtk_tree_path_free(path);
}

// Selecting a row makes it the one selected; deselecting one that is not
// selected changes nothing.
void list_native_row_select(GadgetRecord& list, int row, bool selected) {
    if (selected) list_native_select(list, row);
    else if (list_native_selected(list) == row) list_native_select(list, -1);
}

bool list_native_row_selected(GadgetRecord& list, int row) {
    GtkTreeIter iter;
    return row_iter(list, row, &iter) &&
           gtk_tree_selection_iter_is_selected(gtk_tree_view_get_selection(view_of(list)), &iter);
}

char16_t* list_native_text(GadgetRecord& list, int row, int position) {
    GtkTreeIter iter;
    if (!row_iter(list, row, &iter)) return gadget_empty_text(position);
    // Read from the value itself: gtk_tree_model_get would copy the text once more.
    GValue value = G_VALUE_INIT;
    gtk_tree_model_get_value(model_of(list), &iter, TEXT_COLUMN, &value);
    char16_t* result = text_from_utf8(g_value_get_string(&value), position);
    g_value_unset(&value);
    return result;
}

bool list_native_text_is(GadgetRecord& list, int row, const char16_t* text) {
    GtkTreeIter iter;
    if (!row_iter(list, row, &iter)) return false;
    GValue value = G_VALUE_INIT;
    gtk_tree_model_get_value(model_of(list), &iter, TEXT_COLUMN, &value);
    const char* row_text = g_value_get_string(&value);
    const bool equal = row_text && utf8_of(text) == row_text;
    g_value_unset(&value);
    return equal;
}

void list_native_text_set(GadgetRecord& list, int row, const char16_t* text) {
    GtkTreeIter iter;
    if (row_iter(list, row, &iter)) gtk_list_store_set(list.store, &iter, TEXT_COLUMN, utf8_of(text).c_str(), -1);
}

// The item data is not stored until it is set (until then the store reads it
// as 0): a row is then as small as a plain list's, and long lists are walked
// as fast.
void list_native_insert(GadgetRecord& list, int row, const char16_t* text) {
    Busy busy(list);
    forget_read_row(list);
    // The store copies the text from a value that only points at it: the
    // variadic form would copy it twice.
    const std::string utf8 = utf8_of(text);
    GValue value = G_VALUE_INIT;
    g_value_init(&value, G_TYPE_STRING);
    g_value_set_static_string(&value, utf8.c_str());
    int column = TEXT_COLUMN;
    gtk_list_store_insert_with_valuesv(list.store, nullptr, row, &column, &value, 1);
    g_value_unset(&value);
}

// Removing the selected row leaves nothing selected; another selected row
// stays selected. The tree view would move its cursor to the next row and
// select that one, a row nobody picked.
void list_native_remove(GadgetRecord& list, int row) {
    Busy busy(list);
    GtkTreeIter iter;
    if (!row_iter(list, row, &iter)) return;
    const int selected = list_native_selected(list);
    forget_read_row(list);
    gtk_list_store_remove(list.store, &iter);
    select_row(list, selected == row ? -1 : selected > row ? selected - 1 : selected, &iter);
}

void list_native_clear(GadgetRecord& list) {
    Busy busy(list);
    forget_read_row(list);
    gtk_list_store_clear(list.store);
}

void list_native_colour_set(GadgetRecord& list, int colour_type, int colour) {
    (colour_type == GADGET_COLOR_FRONT ? list.front_colour : list.back_colour) = colour;
    apply_colours(list);
}

int list_native_colour(GadgetRecord& list, int colour_type) {
    return colour_type == GADGET_COLOR_FRONT ? list.front_colour : list.back_colour;
}

void list_native_data_set(GadgetRecord& list, int row, std::intptr_t value) {
    GtkTreeIter iter;
    if (row_iter(list, row, &iter)) gtk_list_store_set(list.store, &iter, DATA_COLUMN, gint64{value}, -1);
}

std::intptr_t list_native_data(GadgetRecord& list, int row) {
    GtkTreeIter iter;
    if (!row_iter(list, row, &iter)) return 0;
    gint64 value = 0;
    gtk_tree_model_get(model_of(list), &iter, DATA_COLUMN, &value, -1);
    return static_cast<std::intptr_t>(value);
}

// A row's mark and tip live in the store beside its text, so they move with
// the row and go with it; a row never marked stores neither.
void list_native_mark_set(GadgetRecord& list, int row, int mark, const char16_t* tip) {
    GtkTreeIter iter;
    if (!row_iter(list, row, &iter)) return;
    const std::string text = mark == GADGET_MARK_NONE ? std::string() : utf8_of(tip);
    gtk_list_store_set(list.store, &iter, MARK_COLUMN, mark, TIP_COLUMN, text.empty() ? nullptr : text.c_str(), -1);
}

int list_native_mark(GadgetRecord& list, int row) {
    GtkTreeIter iter;
    if (!row_iter(list, row, &iter)) return GADGET_MARK_NONE;
    gint mark = GADGET_MARK_NONE;
    gtk_tree_model_get(model_of(list), &iter, MARK_COLUMN, &mark, -1);
    return mark;
}

ListDrag& list_native_drag(GadgetRecord& list) { return list.drag; }

ListShown list_native_shown(GadgetRecord& list) {
    GtkTreeView* view = view_of(list);
    int x = 0;
    int top = 0;
    gtk_tree_view_convert_widget_to_tree_coords(view, 0, 0, &x, &top);
    GdkRectangle row{};
    if (list_native_count(list) > 0) {
        GtkTreePath* first = gtk_tree_path_new_first();
        gtk_tree_view_get_background_area(view, first, gtk_tree_view_get_column(view, 0), &row);
        gtk_tree_path_free(first);
    }
    return {top, gtk_widget_get_allocated_height(list.control), row.height};
}

void list_native_scroll(GadgetRecord& list, int rows) {
    GtkAdjustment* rows_shown = gtk_scrollable_get_vadjustment(GTK_SCROLLABLE(list.control));
    const double step = list_native_shown(list).row_height;
    gtk_adjustment_set_value(rows_shown, gtk_adjustment_get_value(rows_shown) + rows * step);
}

// The line the view draws for a drop between rows.
void list_native_gap_show(GadgetRecord& list, int, int gap) {
    const int count = list_native_count(list);
    if (gap < 0 || count == 0) {
        gtk_tree_view_set_drag_dest_row(view_of(list), nullptr, GTK_TREE_VIEW_DROP_BEFORE);
        return;
    }
    GtkTreePath* path = gtk_tree_path_new_from_indices(gap < count ? gap : count - 1, -1);
    gtk_tree_view_set_drag_dest_row(view_of(list), path, gap < count ? GTK_TREE_VIEW_DROP_BEFORE : GTK_TREE_VIEW_DROP_AFTER);
    gtk_tree_path_free(path);
}

void list_native_post(GadgetRecord& list, int subtype, void* data, EventDataRelease release) {
    event_post(EVENT_GADGET, gadget_number_of(list), window_number_of(list.handle), subtype, data, release);
}

// The store moves the row with all its columns; the view keeps the selection
// with its row.
void list_native_move(GadgetRecord& list, int from, int to) {
    Busy busy(list);
    GtkTreeIter moved;
    GtkTreeIter place;
    if (!row_iter(list, from, &moved) || !row_iter(list, to, &place)) return;
    forget_read_row(list);
    if (to < from) gtk_list_store_move_before(list.store, &moved, &place);
    else gtk_list_store_move_after(list.store, &moved, &place);
}

namespace {

// The colours of marked rows for the background the view draws on now,
// worked out once after each change of the view's style.
struct MarkLook {
    bool known;
    GdkRGBA colours[GADGET_MARK_PROBLEM + 1];
};

void forget_mark_look(GtkWidget*, gpointer look) { static_cast<MarkLook*>(look)->known = false; }

const GdkRGBA& mark_colour(GtkWidget* view, MarkLook& look, int mark) {
    if (!look.known) {
        GtkStyleContext* style = gtk_widget_get_style_context(view);
        GdkRGBA* behind = nullptr;
        gtk_style_context_get(style, gtk_style_context_get_state(style), GTK_STYLE_PROPERTY_BACKGROUND_COLOR, &behind,
                              nullptr);
        auto byte = [](double part) { return static_cast<int>(part * 255.0 + 0.5) & 0xFF; };
        const int background = behind ? byte(behind->red) | byte(behind->green) << 8 | byte(behind->blue) << 16 : 0xFFFFFF;
        gdk_rgba_free(behind);
        for (int kind = GADGET_MARK_NOTICE; kind <= GADGET_MARK_PROBLEM; ++kind) {
            const int colour = gadget_mark_colour(kind, background);
            look.colours[kind] = {(colour & 0xFF) / 255.0, ((colour >> 8) & 0xFF) / 255.0,
                                  ((colour >> 16) & 0xFF) / 255.0, 1.0};
        }
        look.known = true;
    }
    return look.colours[mark];
}

// Runs for the rows being drawn only, so its cost does not grow with the
// list. The renderer leaves a selected row in the theme's selection colours.
void show_mark(GtkTreeViewColumn* column, GtkCellRenderer* cell, GtkTreeModel* model, GtkTreeIter* iter,
               gpointer look) {
    gint mark = GADGET_MARK_NONE;
    gtk_tree_model_get(model, iter, MARK_COLUMN, &mark, -1);
    if (mark <= GADGET_MARK_NONE || mark > GADGET_MARK_PROBLEM) {
        g_object_set(cell, "foreground-set", FALSE, nullptr);
        return;
    }
    GtkWidget* view = gtk_tree_view_column_get_tree_view(column);
    g_object_set(cell, "foreground-rgba", &mark_colour(view, *static_cast<MarkLook*>(look), mark), nullptr);
}

// A marked row's tip; elsewhere the gadget's own tool tip, if it has one.
gboolean on_query_tooltip(GtkWidget* widget, gint x, gint y, gboolean keyboard, GtkTooltip* tooltip, gpointer) {
    auto* view = GTK_TREE_VIEW(widget);
    GtkTreeModel* model = nullptr;
    GtkTreePath* path = nullptr;
    GtkTreeIter iter;
    if (!gtk_tree_view_get_tooltip_context(view, &x, &y, keyboard, &model, &path, &iter)) return FALSE;
    gint mark = GADGET_MARK_NONE;
    gchar* tip = nullptr;
    gtk_tree_model_get(model, &iter, MARK_COLUMN, &mark, TIP_COLUMN, &tip, -1);
    const bool shown = mark != GADGET_MARK_NONE && tip && *tip;
    if (shown) {
        gtk_tooltip_set_text(tooltip, tip);
        gtk_tree_view_set_tooltip_row(view, tooltip, path);
    }
    g_free(tip);
    gtk_tree_path_free(path);
    return shown;
}

// The signal handlers find the record again through the view's scroller.
GadgetRecord* record_of(GtkWidget* view) { return gadget_of_widget(gtk_widget_get_parent(view)); }

void on_selection_changed(GtkTreeSelection* selection, gpointer) {
    if (GadgetRecord* list = record_of(GTK_WIDGET(gtk_tree_selection_get_tree_view(selection))))
        gadget_post(*list, 0);
}

bool on_a_row(GtkTreeView* view, const GdkEventButton* event) {
    return event->window == gtk_tree_view_get_bin_window(view) &&
           gtk_tree_view_get_path_at_pos(view, static_cast<int>(event->x), static_cast<int>(event->y), nullptr,
                                         nullptr, nullptr, nullptr);
}

gboolean on_press(GtkWidget* view, GdkEventButton* event, gpointer) {
    GadgetRecord* list = record_of(view);
    if (!list || event->button != GDK_BUTTON_PRIMARY || !on_a_row(GTK_TREE_VIEW(view), event)) return FALSE;
    // The second press of a double click arrives first as a press of its own:
    // its release is no click of its own.
    if (event->type == GDK_2BUTTON_PRESS) {
        list->pressed = false;
        gadget_post(*list, GADGET_DOUBLE_CLICK);
        return FALSE;
    }
    if (event->type != GDK_BUTTON_PRESS || (event->state & (GDK_SHIFT_MASK | GDK_CONTROL_MASK))) return FALSE;
    list->pressed = true;
    list->press_x = event->x;
    list->press_y = event->y;
    return FALSE;
}

// A point of an event on the view, in the view's own coordinates: the rows'
// window (outside the view too, while the press holds the pointer) or the view's.
GdkPoint in_view(GtkWidget* view, GdkWindow* window, double x, double y) {
    GdkPoint point{static_cast<int>(x), static_cast<int>(y)};
    if (window == gtk_tree_view_get_bin_window(GTK_TREE_VIEW(view)))
        gtk_tree_view_convert_bin_window_to_widget_coords(GTK_TREE_VIEW(view), point.x, point.y, &point.x, &point.y);
    return point;
}

gboolean on_scroll_step(gpointer view) {
    GadgetRecord* list = record_of(static_cast<GtkWidget*>(view));
    if (list && list_drag_scroll(*list, list->drag)) return G_SOURCE_CONTINUE;
    if (list) list->drag_scroll = 0;
    return G_SOURCE_REMOVE;
}

// The press's row is lifted where the list lets its rows be reordered.
void lift_pressed_row(GtkWidget* view, GadgetRecord& list, int y) {
    GtkTreePath* path = nullptr;
    if (!gtk_tree_view_get_path_at_pos(GTK_TREE_VIEW(view), static_cast<int>(list.press_x),
                                       static_cast<int>(list.press_y), &path, nullptr, nullptr, nullptr))
        return;
    const int row = gtk_tree_path_get_indices(path)[0];
    gtk_tree_path_free(path);
    if (!list_drag_lift(list, list.drag, row)) return;
    if (!list.drag_scroll) list.drag_scroll = g_timeout_add(LIST_DRAG_SCROLL_MILLISECONDS, on_scroll_step, view);
    list_drag_follow(list, list.drag, y);
}

gboolean on_motion(GtkWidget* view, GdkEventMotion* event, gpointer) {
    GadgetRecord* list = record_of(view);
    if (!list) return FALSE;
    const GdkPoint at = in_view(view, event->window, event->x, event->y);
    if (list_drag_lifted(list->drag)) {
        list_drag_follow(*list, list->drag, at.y);
        return TRUE;
    }
    if (!list->pressed) return FALSE;
    int threshold = 8;
    g_object_get(gtk_widget_get_settings(view), "gtk-dnd-drag-threshold", &threshold, nullptr);
    if (std::fabs(event->x - list->press_x) > threshold || std::fabs(event->y - list->press_y) > threshold) {
        list->pressed = false;
        gadget_post(*list, GADGET_DRAG_START);
        lift_pressed_row(view, *list, at.y);
    }
    return FALSE;
}

gboolean on_release(GtkWidget* view, GdkEventButton* event, gpointer) {
    GadgetRecord* list = record_of(view);
    if (!list || event->button != GDK_BUTTON_PRIMARY) return FALSE;
    if (list_drag_lifted(list->drag)) {
        const GdkPoint at = in_view(view, event->window, event->x, event->y);
        const bool over_list = at.x >= 0 && at.y >= 0 && at.x < gtk_widget_get_allocated_width(view) &&
                               at.y < gtk_widget_get_allocated_height(view);
        list_drag_follow(*list, list->drag, at.y);
        list_drag_release(*list, list->drag, over_list);
        return FALSE;
    }
    if (!list->pressed) return FALSE;
    list->pressed = false;
    gadget_post(*list, 0);
    return FALSE;
}

gboolean on_key(GtkWidget* view, GdkEventKey* event, gpointer) {
    GadgetRecord* list = record_of(view);
    if (!list || !list_drag_lifted(list->drag) || event->keyval != GDK_KEY_Escape) return FALSE;
    list_drag_cancel(*list, list->drag);
    return TRUE;
}

// Another grab (a dialog, a menu) ends the press, and a drag with it.
void on_grab_notify(GtkWidget* view, gboolean was_grabbed, gpointer) {
    GadgetRecord* list = record_of(view);
    if (!list || was_grabbed) return;
    list->pressed = false;
    list_drag_cancel(*list, list->drag);
}

}  // namespace

std::intptr_t gadget_list_view(ObjectNumber number, int x, int y, int width, int height, int) {
    GtkListStore* store = gtk_list_store_new(4, G_TYPE_STRING, G_TYPE_INT64, G_TYPE_INT, G_TYPE_STRING);
    GtkWidget* view = gtk_tree_view_new_with_model(GTK_TREE_MODEL(store));
    auto* tree = GTK_TREE_VIEW(view);
    gtk_tree_view_set_headers_visible(tree, FALSE);
    gtk_tree_view_set_enable_search(tree, FALSE);
    // Rows as close together as a list box's: the text renderer's own padding
    // would space them like a form.
    GtkCellRenderer* text = gtk_cell_renderer_text_new();
    g_object_set(text, "ypad", 0, nullptr);
    GtkTreeViewColumn* column = gtk_tree_view_column_new_with_attributes("", text, "text", TEXT_COLUMN, nullptr);
    // Rows of one height, measured once: fast for very long lists.
    gtk_tree_view_column_set_sizing(column, GTK_TREE_VIEW_COLUMN_FIXED);
    gtk_tree_view_column_set_expand(column, TRUE);
    auto* look = g_new0(MarkLook, 1);
    gtk_tree_view_column_set_cell_data_func(column, text, show_mark, look, g_free);
    g_signal_connect(view, "style-updated", G_CALLBACK(forget_mark_look), look);
    gtk_tree_view_append_column(tree, column);
    gtk_tree_view_set_fixed_height_mode(tree, TRUE);
    gtk_tree_selection_set_mode(gtk_tree_view_get_selection(tree), GTK_SELECTION_SINGLE);

    GtkWidget* scroller = gtk_scrolled_window_new(nullptr, nullptr);
    gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(scroller), GTK_SHADOW_IN);
    gtk_container_add(GTK_CONTAINER(scroller), view);

    GadgetRecord* list = gadget_create(number, list_kind, scroller, view, x, y, width, height);
    if (!list) {
        g_object_unref(store);
        return 0;
    }
    list->store = store;
    list->read_row = -1;
    list->drag = {false, -1, -1, 0};
    g_signal_connect(gtk_tree_view_get_selection(tree), "changed", G_CALLBACK(on_selection_changed), nullptr);
    g_signal_connect(view, "button-press-event", G_CALLBACK(on_press), nullptr);
    g_signal_connect(view, "motion-notify-event", G_CALLBACK(on_motion), nullptr);
    g_signal_connect(view, "button-release-event", G_CALLBACK(on_release), nullptr);
    g_signal_connect(view, "grab-notify", G_CALLBACK(on_grab_notify), nullptr);
    g_signal_connect(view, "key-press-event", G_CALLBACK(on_key), nullptr);
    gtk_widget_set_has_tooltip(view, TRUE);
    g_signal_connect(view, "query-tooltip", G_CALLBACK(on_query_tooltip), nullptr);
    return gadget_creation_result(number, *list);
}
