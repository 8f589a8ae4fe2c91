// GTK gadgets: the gadget table, creation and registration in a window's
// fixed-position layout, the cleanup when a widget is destroyed, and the
// generic operations, which look a gadget up and call its kind's entry.
#include <gtk/gtk.h>

#include <mutex>

#include "runtime/gui/drop.h"
#include "runtime/gui/event.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/gtk/gadget_kind.h"
#include "runtime/gui/gtk/gui_gtk.h"
#include "runtime/text/text.h"

namespace {

// Object data on every gadget's widget: its number + 1 (0 would read as absent).
constexpr char GADGET_ID_PROPERTY[] = "QX_ID";

void release_gadget(ObjectNumber number);

ObjectTable<GadgetRecord> gadgets(50, release_gadget);

GadgetRecord* find_gadget(ObjectNumber number) { return gadgets.find(number); }

// Drops what the runtime keeps for a widget that is going away.
void on_destroy(GtkWidget* widget, gpointer data) {
    const auto number = reinterpret_cast<ObjectNumber>(data);
    std::lock_guard guard(gadgets.lock());
    GadgetRecord* gadget = gadgets.find(number);
    if (!gadget || gadget->handle != widget) return;
    if (gadget->store) g_object_unref(gadget->store);
    if (gadget->colours) g_object_unref(gadget->colours);
    g_object_set_data(G_OBJECT(widget), GADGET_ID_PROPERTY, nullptr);
    event_purge_gadget(EVENT_GADGET, number);
    gadgets.release(number);
}

// Reusing a number destroys its widget; its destroy signal then forgets it.
void release_gadget(ObjectNumber number) {
    GadgetRecord* gadget = gadgets.find(number);
    if (gadget) gtk_widget_destroy(gadget->handle);
}

// A negative size is an empty gadget, as native controls take it; GTK reads
// -1 as "natural size" and refuses anything below.
int size_at_least_zero(int size) { return size < 0 ? 0 : size; }

}  // namespace

char16_t* gadget_empty_text(int position) {
    char16_t* text = text_builder_reserve(0, position);
    *text = u'\0';
    return text;
}

ObjectNumber gadget_number_of(const GadgetRecord& gadget) {
    return reinterpret_cast<ObjectNumber>(g_object_get_data(G_OBJECT(gadget.handle), GADGET_ID_PROPERTY)) - 1;
}

GadgetRecord* gadget_of_widget(GtkWidget* handle) {
    if (!handle) return nullptr;
    auto id = reinterpret_cast<ObjectNumber>(g_object_get_data(G_OBJECT(handle), GADGET_ID_PROPERTY));
    GadgetRecord* gadget = id > 0 ? gadgets.find(id - 1) : nullptr;
    return gadget && gadget->handle == handle ? gadget : nullptr;
}

std::intptr_t gadget_creation_result(ObjectNumber requested, const GadgetRecord& gadget) {
    if (requested == DYNAMIC_ID) return gadget_number_of(gadget);
    return reinterpret_cast<std::intptr_t>(gadget.handle);
}

void gadget_post(const GadgetRecord& gadget, int subtype) {
    if (gadget.busy > 0) return;
    event_post(EVENT_GADGET, gadget_number_of(gadget), window_number_of(gadget.handle), subtype);
}

GadgetRecord* gadget_create(ObjectNumber number, const GadgetKind& kind, GtkWidget* widget, GtkWidget* control,
                            int x, int y, int width, int height) {
    g_object_ref_sink(widget);
    std::lock_guard guard(gadgets.lock());
    GtkWidget* parent = gadget_parent();
    GadgetRecord* gadget = parent ? gadgets.acquire(number) : nullptr;
    if (!gadget) {
        gtk_widget_destroy(widget);
        g_object_unref(widget);
        return nullptr;
    }
    const ObjectNumber id = gadgets.number_of(gadget);
    gadget->handle = widget;
    gadget->kind = &kind;
    gadget->control = control;
    gadget->back_colour = -1;
    gadget->front_colour = -1;
    g_object_set_data(G_OBJECT(widget), GADGET_ID_PROPERTY, reinterpret_cast<gpointer>(id + 1));
    g_signal_connect(widget, "destroy", G_CALLBACK(on_destroy), reinterpret_cast<gpointer>(id));
    gtk_widget_set_size_request(widget, size_at_least_zero(width), size_at_least_zero(height));
    gtk_layout_put(GTK_LAYOUT(parent), widget, x, y);
    g_object_unref(widget);  // the layout holds it now
    gtk_widget_show_all(widget);
    return gadget;
}

bool gadget_init() { return true; }

std::intptr_t gadget_handle(ObjectNumber number) {
    GadgetRecord* gadget = find_gadget(number);
    return gadget ? reinterpret_cast<std::intptr_t>(gadget->handle) : 0;
}

// GTK paints only from the main loop, which does not run while the program
// changes many items in one go: resuming only has to ask for one redraw.
void gadget_redraw(ObjectNumber number, int enabled) {
    GadgetRecord* gadget = find_gadget(number);
    if (gadget && enabled) gtk_widget_queue_draw(gadget->control);
}

void gadget_drop_enable(ObjectNumber number, int format, int actions) {
    GadgetRecord* gadget = find_gadget(number);
    if (gadget)
        drop_enable(number, gadget->kind->kind, reinterpret_cast<std::intptr_t>(gadget->handle), format, actions, 0);
}

// Generic operations: the kind's entry under the table lock, 0 when empty.

int gadget_state_get(ObjectNumber number) {
    std::lock_guard guard(gadgets.lock());
    GadgetRecord* gadget = find_gadget(number);
    return gadget && gadget->kind->state_get ? gadget->kind->state_get(*gadget) : 0;
}

void gadget_state_set(ObjectNumber number, int state) {
    std::lock_guard guard(gadgets.lock());
    GadgetRecord* gadget = find_gadget(number);
    if (gadget && gadget->kind->state_set) gadget->kind->state_set(*gadget, state);
}

char16_t* gadget_text_get(ObjectNumber number) {
    std::lock_guard guard(gadgets.lock());
    GadgetRecord* gadget = find_gadget(number);
    if (gadget && gadget->kind->text_get) return gadget->kind->text_get(*gadget, -1);
    return gadget_empty_text(-1);
}

void gadget_text_set(ObjectNumber number, const char16_t* text) {
    std::lock_guard guard(gadgets.lock());
    GadgetRecord* gadget = find_gadget(number);
    if (gadget && gadget->kind->text_set) gadget->kind->text_set(*gadget, text);
}

int gadget_item_add(ObjectNumber number, int position, const char16_t* text) {
    std::lock_guard guard(gadgets.lock());
    GadgetRecord* gadget = find_gadget(number);
    if (gadget && gadget->kind->item_add) gadget->kind->item_add(*gadget, position, text);
    return 0;
}

void gadget_item_remove(ObjectNumber number, int item) {
    std::lock_guard guard(gadgets.lock());
    GadgetRecord* gadget = find_gadget(number);
    if (gadget && gadget->kind->item_remove) gadget->kind->item_remove(*gadget, item);
}

void gadget_clear(ObjectNumber number) {
    std::lock_guard guard(gadgets.lock());
    GadgetRecord* gadget = find_gadget(number);
    if (gadget && gadget->kind->clear) gadget->kind->clear(*gadget);
}

int gadget_item_count(ObjectNumber number) {
    std::lock_guard guard(gadgets.lock());
    GadgetRecord* gadget = find_gadget(number);
    return gadget && gadget->kind->item_count ? gadget->kind->item_count(*gadget) : 0;
}

char16_t* gadget_item_text_get(ObjectNumber number, int item, int column) {
    std::lock_guard guard(gadgets.lock());
    GadgetRecord* gadget = find_gadget(number);
    if (gadget && gadget->kind->item_text_get) return gadget->kind->item_text_get(*gadget, item, column, -1);
    return gadget_empty_text(-1);
}

void gadget_item_text_set(ObjectNumber number, int item, const char16_t* text, int column) {
    std::lock_guard guard(gadgets.lock());
    GadgetRecord* gadget = find_gadget(number);
    if (gadget && gadget->kind->item_text_set) gadget->kind->item_text_set(*gadget, item, text, column);
}

int gadget_item_state_get(ObjectNumber number, int item) {
    std::lock_guard guard(gadgets.lock());
    GadgetRecord* gadget = find_gadget(number);
    return gadget && gadget->kind->item_state_get ? gadget->kind->item_state_get(*gadget, item) : 0;
}

void gadget_item_state_set(ObjectNumber number, int item, int state) {
    std::lock_guard guard(gadgets.lock());
    GadgetRecord* gadget = find_gadget(number);
    if (gadget && gadget->kind->item_state_set) gadget->kind->item_state_set(*gadget, item, state);
}

std::intptr_t gadget_item_data_get(ObjectNumber number, int item) {
    std::lock_guard guard(gadgets.lock());
    GadgetRecord* gadget = find_gadget(number);
    return gadget && gadget->kind->item_data_get ? gadget->kind->item_data_get(*gadget, item) : 0;
}

void gadget_item_data_set(ObjectNumber number, int item, std::intptr_t value) {
    std::lock_guard guard(gadgets.lock());
    GadgetRecord* gadget = find_gadget(number);
    if (gadget && gadget->kind->item_data_set) gadget->kind->item_data_set(*gadget, item, value);
}

int gadget_attribute_get(ObjectNumber number, int attribute) {
    std::lock_guard guard(gadgets.lock());
    GadgetRecord* gadget = find_gadget(number);
    return gadget && gadget->kind->attribute_get ? gadget->kind->attribute_get(*gadget, attribute) : 0;
}

void gadget_attribute_set(ObjectNumber number, int attribute, int value) {
    std::lock_guard guard(gadgets.lock());
    GadgetRecord* gadget = find_gadget(number);
    if (gadget && gadget->kind->attribute_set) gadget->kind->attribute_set(*gadget, attribute, value);
}

void gadget_color_set(ObjectNumber number, int colour_type, int colour) {
    std::lock_guard guard(gadgets.lock());
    GadgetRecord* gadget = find_gadget(number);
    if (gadget && gadget->kind->color_set) gadget->kind->color_set(*gadget, colour_type, colour);
}

int gadget_color_get(ObjectNumber number, int colour_type) {
    std::lock_guard guard(gadgets.lock());
    GadgetRecord* gadget = find_gadget(number);
    return gadget && gadget->kind->color_get ? gadget->kind->color_get(*gadget, colour_type) : 0;
}

void gadget_resize(ObjectNumber number, int x, int y, int width, int height) {
    std::lock_guard guard(gadgets.lock());
    GadgetRecord* gadget = find_gadget(number);
    if (!gadget) return;
    GtkWidget* parent = gtk_widget_get_parent(gadget->handle);
    int current_x = 0, current_y = 0, current_width = 0, current_height = 0;
    gtk_container_child_get(GTK_CONTAINER(parent), gadget->handle, "x", &current_x, "y", &current_y, nullptr);
    gtk_widget_get_size_request(gadget->handle, &current_width, &current_height);
    gtk_layout_move(GTK_LAYOUT(parent), gadget->handle, x == IGNORE_VALUE ? current_x : x,
                    y == IGNORE_VALUE ? current_y : y);
    gtk_widget_set_size_request(gadget->handle, width == IGNORE_VALUE ? current_width : size_at_least_zero(width),
                                height == IGNORE_VALUE ? current_height : size_at_least_zero(height));
}
