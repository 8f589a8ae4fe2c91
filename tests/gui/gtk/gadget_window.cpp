#include "tests/gui/gtk/gadget_support.h"

#include "runtime/gui/event.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/window.h"

std::vector<SeenEvent> drain_events() {
    std::vector<SeenEvent> events;
    run_for(100);
    while (int kind = event_wait_timeout(0))
        if (kind >= EVENT_GADGET || kind == EVENT_SIZE_WINDOW || kind == EVENT_CLOSE_WINDOW)
            events.push_back({kind, event_gadget(), event_window(), event_subtype()});
    return events;
}

// Opened afresh for each test, at the screen's corner, with the keyboard focus.
void GadgetWindowTest::SetUp() {
    ASSERT_NE(window_open(WINDOW, 0, 0, 500, 400, u"Gadgets", 0x80000000), 0);
    GtkWidget* window = test_window();
    ASSERT_TRUE(wait_drawn(window));
    person_desktop().focus(window);
    run_until([&] { return gtk_window_is_active(GTK_WINDOW(window)); });
    drain_events();
}

void GadgetWindowTest::TearDown() {
    window_close(-1);
    drain_events();
}
