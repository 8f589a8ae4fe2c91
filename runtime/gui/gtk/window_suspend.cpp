// windows_suspend / windows_restore: keep the thread's other windows from
// taking input while one of its requesters is open, and enable them again
// afterwards. GTK windows belong to the thread that runs the main loop, so
// the records are that thread's own. The runtime never makes a window stay
// above others on GTK: there is no topmost state to take away and give back.
#include <gtk/gtk.h>

#include <vector>

#include "runtime/gui/gtk/gui_gtk.h"
#include "runtime/gui/requester.h"

namespace {

struct SuspendedWindow {
    GtkWidget* window;  // referenced while suspended
    int level;          // the suspend that disabled it; pairs nest
};

thread_local std::vector<SuspendedWindow> suspended;
thread_local int suspend_level = 0;

}  // namespace

void windows_suspend() {
    const int level = ++suspend_level;
    auto* owner = reinterpret_cast<GtkWidget*>(requester_owner());
    GList* toplevels = gtk_window_list_toplevels();
    for (GList* item = toplevels; item; item = item->next) {
        auto* window = GTK_WIDGET(item->data);
        if (window == owner || window_number_of(window) < 0 || !gtk_widget_get_visible(window) ||
            !gtk_widget_get_sensitive(window))
            continue;
        gtk_widget_set_sensitive(window, FALSE);
        suspended.push_back({GTK_WIDGET(g_object_ref(window)), level});
    }
    g_list_free(toplevels);
}

void windows_restore() {
    if (suspend_level == 0) return;
    const int level = suspend_level--;
    while (!suspended.empty() && suspended.back().level == level) {
        GtkWidget* window = suspended.back().window;
        suspended.pop_back();
        gtk_widget_set_sensitive(window, TRUE);
        g_object_unref(window);
    }
}
