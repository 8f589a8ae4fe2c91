// The volume pop-up under GTK: it runs its own loop on the test thread, so
// the person acts from a timer of that loop, one step a tick: finds the
// pop-up, reads its scale and the scale's tool tip, sets the scale as its own
// value change does, and moves the pointer away through the X server. The
// pop-up looks at the pointer whenever an event comes; its own redraws bring
// them here, as any message does on Windows.
#include "tests/app/volume_popup.h"

#include <gtk/gtk.h>

#include <chrono>

#include "app/app_state.h"
#include "app/playback.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/window.h"
#include "tests/app/gtk/app_gtk.h"
#include "tests/support/gtk_desktop.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

Desktop& desktop() {
    static Desktop person;
    return person;
}

GtkWidget* popup() { return reinterpret_cast<GtkWidget*>(window_handle(VOLUME_WINDOW)); }
GtkWidget* scale() { return reinterpret_cast<GtkWidget*>(gadget_handle(VOLUME_SLIDER)); }

std::wstring tooltip() {
    gchar* text = scale() ? gtk_widget_get_tooltip_text(scale()) : nullptr;
    std::wstring shown = wide_of(text);
    g_free(text);
    return shown;
}

struct Person {
    int move_to;
    ScreenAt leave_at;
    PopupView view;
    enum class Step { find, look, inside, moved, leave, wait_closed } step = Step::find;
    Clock::time_point since = Clock::now();
    bool forced = false;

    static gboolean tick(gpointer data) {
        static_cast<Person*>(data)->act();
        return G_SOURCE_CONTINUE;
    }

    void next(Step to) {
        step = to;
        since = Clock::now();
    }

    void act() {
        const auto waited = Clock::now() - since;
        switch (step) {
        case Step::find:
            if (popup() && gtk_widget_get_mapped(popup())) next(Step::look);
            break;
        case Step::look: {  // drawn once, as a person sees it
            view.appeared = true;
            gdk_window_get_origin(gtk_widget_get_window(popup()), &view.origin.x, &view.origin.y);
            view.inner_width = gtk_widget_get_allocated_width(popup());
            view.inner_height = gtk_widget_get_allocated_height(popup());
            view.mouse_x = window_mouse_x(VOLUME_WINDOW);
            view.mouse_y = window_mouse_y(VOLUME_WINDOW);
            view.slider = static_cast<int>(gtk_range_get_value(GTK_RANGE(scale())));
            view.tooltip = tooltip();
            next(Step::inside);
            break;
        }
        case Step::inside:
            gtk_widget_queue_draw(popup());
            if (waited < 300ms) break;
            view.stayed_open = popup() != nullptr;
            if (move_to < 0) {
                next(Step::leave);
                break;
            }
            gtk_range_set_value(GTK_RANGE(scale()), move_to);
            next(Step::moved);
            break;
        case Step::moved:
            view.moved_tooltip = tooltip();
            if (view.moved_tooltip == L"Volume: " + std::to_wstring(move_to) || waited > 10s) next(Step::leave);
            break;
        case Step::leave:
            desktop().pointer_to(leave_at.x, leave_at.y);
            next(Step::wait_closed);
            break;
        case Step::wait_closed:
            gtk_widget_queue_draw(popup());
            // One that never closes must not keep the test waiting for ever.
            if (waited > 10s) {
                forced = true;
                window_close(VOLUME_WINDOW);
            }
            break;
        }
    }
};

}  // namespace

PopupView change_volume(ScreenAt pointer, int move_to, ScreenAt leave_at) {
    desktop().pointer_to(pointer.x, pointer.y);
    run_for(100);  // GTK has seen the pointer there
    Person person{move_to, leave_at, {}};
    const guint source = g_timeout_add(30, Person::tick, &person);
    ChangeVolume();
    g_source_remove(source);
    person.view.closed = person.step == Person::Step::wait_closed && !person.forced;
    return person.view;
}
