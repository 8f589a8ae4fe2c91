// GTK toolbars: the toolbar table, a GtkToolbar along the top of its window's
// layout that follows the window's width, freeing, and the native steps of the
// toolbar operations (toolbar_operations.cpp). Every button can show the
// checked state, so every button is a toggle button; a plain button's click
// never changes that state itself.
#include <gtk/gtk.h>

#include <optional>

#include "runtime/gui/event.h"
#include "runtime/gui/gtk/gui_gtk.h"
#include "runtime/gui/gtk/toolbar_picture.h"
#include "runtime/gui/toolbar.h"
#include "runtime/gui/toolbar_native.h"
#include "runtime/image/image.h"

struct ToolbarRecord {
    GtkWidget* toolbar;  // the GtkToolbar; null = entry free
    GtkWidget* parent;   // the window it belongs to
    gulong follow_width;  // the parent's configure-event handler
    int busy;             // > 0 while the runtime changes a checked state
};

namespace {

// Object data. On the parent: the number + 1 of the toolbar it holds, 0 none.
constexpr char TOOLBAR_ID_PROPERTY[] = "qx_toolbar_id";
// On a button: its id; whether a click may change its checked state.
constexpr char BUTTON_ID_PROPERTY[] = "qx_button_id";
constexpr char BUTTON_TOGGLE_PROPERTY[] = "qx_button_toggle";

constexpr int TABLE_STEP = 16;
// As compact as the reference platform's flat toolbar: programs place their
// gadgets below a bar of about that height.
constexpr char COMPACT_STYLE[] =
    "toolbar { padding: 0; background: none; border: none; }"
    " toolbar button { padding: 3px; min-width: 0; min-height: 0; }";

std::optional<ObjectTable<ToolbarRecord>> toolbars;

ObjectNumber number_of(GtkWidget* toolbar) {
    return reinterpret_cast<ObjectNumber>(g_object_get_data(G_OBJECT(toolbar), TOOLBAR_ID_PROPERTY)) - 1;
}

GtkToolItem* find_button(GtkWidget* toolbar, int button_id) {
    const int count = gtk_toolbar_get_n_items(GTK_TOOLBAR(toolbar));
    for (int i = 0; i < count; ++i) {
        GtkToolItem* item = gtk_toolbar_get_nth_item(GTK_TOOLBAR(toolbar), i);
        if (GTK_IS_TOGGLE_TOOL_BUTTON(item) &&
            GPOINTER_TO_INT(g_object_get_data(G_OBJECT(item), BUTTON_ID_PROPERTY)) == button_id)
            return item;
    }
    return nullptr;
}

void on_button_toggled(GtkToggleToolButton* button, gpointer data) {
    GtkWidget* toolbar = gtk_widget_get_parent(GTK_WIDGET(button));
    ToolbarRecord* record = toolbar ? toolbars->find(number_of(toolbar)) : nullptr;
    if (!record || record->toolbar != toolbar || record->busy > 0) return;
    if (!g_object_get_data(G_OBJECT(button), BUTTON_TOGGLE_PROPERTY)) {
        ++record->busy;
        gtk_toggle_tool_button_set_active(button, !gtk_toggle_tool_button_get_active(button));
        --record->busy;
    }
    event_post(EVENT_MENU, GPOINTER_TO_INT(data), window_number_of(toolbar), 0);
}

// The toolbar spans its window, as the reference platform's does; the new
// width is known before the window lays out its content.
gboolean on_parent_configured(GtkWidget*, GdkEventConfigure* configure, gpointer toolbar) {
    int width = 0;
    gtk_widget_get_size_request(GTK_WIDGET(toolbar), &width, nullptr);
    if (width != configure->width) gtk_widget_set_size_request(GTK_WIDGET(toolbar), configure->width, -1);
    return FALSE;
}

// A toolbar dies with its window.
void on_toolbar_destroyed(GtkWidget* toolbar, gpointer) {
    const ObjectNumber number = number_of(toolbar);
    ToolbarRecord* record = toolbars->find(number);
    if (record && record->toolbar == toolbar) toolbar_free(number);
}

// Once for the screen; the selectors keep the style to toolbars. A toolbar
// shows its window's colour behind its buttons, as on the reference platform.
void compact_style(GtkWidget* toolbar) {
    static GtkCssProvider* compact = nullptr;
    if (compact) return;
    compact = gtk_css_provider_new();
    gtk_css_provider_load_from_data(compact, COMPACT_STYLE, -1, nullptr);
    gtk_style_context_add_provider_for_screen(gtk_widget_get_screen(toolbar), GTK_STYLE_PROVIDER(compact),
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
}

}  // namespace

// GTK draws every pixbuf with its own alpha: no masks are ever needed.
void toolbar_graphics_probe() {}
int toolbar_alpha_imagelists() { return 1; }

bool toolbar_init() {
    if (!toolbars) toolbars.emplace(TABLE_STEP, toolbar_free);
    return true;
}

std::intptr_t toolbar_create(ObjectNumber number, std::intptr_t parent_window) {
    if (!toolbars) return 0;
    std::lock_guard guard(toolbars->lock());
    toolbar_make_current(number);
    GtkWidget* parent = window_of_handle(parent_window);
    if (!parent) return 0;
    GtkWidget* content = gtk_bin_get_child(GTK_BIN(parent));
    ToolbarRecord* record = toolbars->acquire(number);
    if (!record) return 0;
    const bool dynamic = number == DYNAMIC_ID;
    if (dynamic) {
        number = toolbars->number_of(record);
        toolbar_make_current(number);
    }

    GtkWidget* toolbar = gtk_toolbar_new();
    gtk_toolbar_set_style(GTK_TOOLBAR(toolbar), GTK_TOOLBAR_ICONS);
    gtk_toolbar_set_icon_size(GTK_TOOLBAR(toolbar), GTK_ICON_SIZE_SMALL_TOOLBAR);
    gtk_toolbar_set_show_arrow(GTK_TOOLBAR(toolbar), FALSE);
    compact_style(toolbar);
    g_object_set_data(G_OBJECT(toolbar), TOOLBAR_ID_PROPERTY, reinterpret_cast<gpointer>(number + 1));
    record->toolbar = toolbar;
    record->parent = parent;
    int width = 0;
    gtk_window_get_size(GTK_WINDOW(parent), &width, nullptr);
    gtk_widget_set_size_request(toolbar, width, -1);
    gtk_layout_put(GTK_LAYOUT(content), toolbar, 0, 0);
    record->follow_width = g_signal_connect(parent, "configure-event", G_CALLBACK(on_parent_configured), toolbar);
    g_signal_connect(toolbar, "destroy", G_CALLBACK(on_toolbar_destroyed), nullptr);
    gtk_widget_show(toolbar);
    g_object_set_data(G_OBJECT(parent), TOOLBAR_ID_PROPERTY, reinterpret_cast<gpointer>(number + 1));
    return dynamic ? number : reinterpret_cast<std::intptr_t>(toolbar);
}

std::recursive_mutex* toolbar_table_lock() { return toolbars ? &toolbars->lock() : nullptr; }

ToolbarRecord* toolbar_lookup(ObjectNumber number) { return toolbars->find(number); }

int toolbar_native_image_button(ToolbarRecord& record, int button_id, std::intptr_t image, bool toggle) {
    GtkToolItem* button = gtk_toggle_tool_button_new();
    // A handle that is no live image (freed, made up) makes a button without
    // a picture. The picture holds its own references: the caller may free the image.
    if (image_handle_live(image))
        gtk_tool_button_set_icon_widget(GTK_TOOL_BUTTON(button),
                                        toolbar_picture_new(reinterpret_cast<GdkPixbuf*>(image),
                                                            reinterpret_cast<GdkPixbuf*>(image_double_of(image))));
    g_object_set_data(G_OBJECT(button), BUTTON_ID_PROPERTY, GINT_TO_POINTER(button_id));
    g_object_set_data(G_OBJECT(button), BUTTON_TOGGLE_PROPERTY, GINT_TO_POINTER(toggle));
    g_signal_connect(button, "toggled", G_CALLBACK(on_button_toggled), GINT_TO_POINTER(button_id));
    gtk_toolbar_insert(GTK_TOOLBAR(record.toolbar), button, -1);
    gtk_widget_show_all(GTK_WIDGET(button));
    return 1;
}

void toolbar_native_separator(ToolbarRecord& record) {
    GtkToolItem* separator = gtk_separator_tool_item_new();
    gtk_toolbar_insert(GTK_TOOLBAR(record.toolbar), separator, -1);
    gtk_widget_show(GTK_WIDGET(separator));
}

int toolbar_native_tooltip(ToolbarRecord& record, int button_id, const char16_t* text) {
    GtkToolItem* button = find_button(record.toolbar, button_id);
    if (!button) return 0;
    gtk_tool_item_set_tooltip_text(button, utf8_of(text).c_str());
    return 1;
}

void toolbar_native_check(ToolbarRecord& record, int button_id, bool checked) {
    GtkToolItem* button = find_button(record.toolbar, button_id);
    if (!button) return;
    ++record.busy;
    gtk_toggle_tool_button_set_active(GTK_TOGGLE_TOOL_BUTTON(button), checked);
    --record.busy;
}

// Before the first layout the height it asks for is the height it gets.
int toolbar_native_height(ToolbarRecord& record) {
    if (gtk_widget_get_realized(record.toolbar)) return gtk_widget_get_allocated_height(record.toolbar);
    int height = 0;
    gtk_widget_get_preferred_height(record.toolbar, nullptr, &height);
    return height;
}

std::intptr_t toolbar_native_handle(ToolbarRecord& record) { return reinterpret_cast<std::intptr_t>(record.toolbar); }

void toolbar_free(ObjectNumber number) {
    if (!toolbars) return;
    if (number == -1) {
        toolbars->release_all();
        return;
    }
    std::lock_guard guard(toolbars->lock());
    ToolbarRecord* record = toolbars->find(number);
    if (!record) return;
    const ToolbarRecord gone = *record;
    toolbars->release(number);
    // The parent forgets this toolbar only if it is the one it names.
    if (g_object_get_data(G_OBJECT(gone.parent), TOOLBAR_ID_PROPERTY) == reinterpret_cast<gpointer>(number + 1))
        g_object_set_data(G_OBJECT(gone.parent), TOOLBAR_ID_PROPERTY, nullptr);
    g_signal_handler_disconnect(gone.parent, gone.follow_width);
    if (!gtk_widget_in_destruction(gone.toolbar)) gtk_widget_destroy(gone.toolbar);
}
