// GTK gadgets: the gadget table, creation and registration in a window's
// fixed-position layout, the cleanup when a widget is destroyed, and what the
// generic operations (runtime/gui/gadget_operations.cpp) need of this back end.
#include <gtk/gtk.h>

#include <mutex>

#include "runtime/gui/drop.h"
#include "runtime/gui/event.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/gtk/gadget_record.h"
#include "runtime/gui/gtk/gui_gtk.h"

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
    const GadgetNative* native = gadget->kind->native;
    if (native && native->release) native->release(*gadget);
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

std::recursive_mutex& gadget_table_lock() { return gadgets.lock(); }

const GadgetKind* gadget_lookup(ObjectNumber number, GadgetRecord** gadget) {
    *gadget = find_gadget(number);
    return *gadget ? (*gadget)->kind : nullptr;
}

GadgetPlace gadget_native_place(GadgetRecord& gadget) {
    GadgetPlace place{};
    gtk_container_child_get(GTK_CONTAINER(gtk_widget_get_parent(gadget.handle)), gadget.handle, "x", &place.x, "y",
                            &place.y, nullptr);
    gtk_widget_get_size_request(gadget.handle, &place.width, &place.height);
    return place;
}

void gadget_native_move(GadgetRecord& gadget, int x, int y, int width, int height) {
    gtk_layout_move(GTK_LAYOUT(gtk_widget_get_parent(gadget.handle)), gadget.handle, x, y);
    gtk_widget_set_size_request(gadget.handle, size_at_least_zero(width), size_at_least_zero(height));
}
