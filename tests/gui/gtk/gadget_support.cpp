#include "tests/gui/gtk/gadget_support.h"

#include "runtime/gui/event.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/window.h"
#include "runtime/text/text.h"

std::vector<SeenEvent> drain_events() {
    std::vector<SeenEvent> events;
    run_for(100);
    while (int kind = event_wait_timeout(0))
        if (kind >= EVENT_GADGET || kind == EVENT_SIZE_WINDOW || kind == EVENT_CLOSE_WINDOW)
            events.push_back({kind, event_gadget(), event_window(), event_subtype()});
    return events;
}

void GadgetWindowTest::SetUpTestSuite() {
    ASSERT_TRUE(text_init());
    ASSERT_TRUE(event_init());
    ASSERT_TRUE(window_init());
    ASSERT_TRUE(gadget_init());
}

void GadgetWindowTest::TearDownTestSuite() {
    gadget_end();
    window_end();
    event_end();
    text_end();
}

void GadgetWindowTest::SetUp() {
    window_ = reinterpret_cast<GtkWidget*>(window_open(WINDOW, 0, 0, 500, 400, u"Gadgets", 0x80000000));
    ASSERT_NE(window_, nullptr);
    ASSERT_TRUE(wait_drawn(window_));
    desktop.focus(window_);
    run_until([&] { return gtk_window_is_active(GTK_WINDOW(window_)); });
    drain_events();
}

void GadgetWindowTest::TearDown() {
    window_close(-1);
    drain_events();
}
