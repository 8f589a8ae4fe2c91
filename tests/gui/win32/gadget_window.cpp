#include "tests/gui/win32/gadget_support.h"

#include "runtime/gui/event.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/window.h"
#include "runtime/gui/win32/gui_win32.h"

namespace {

BOOL CALLBACK collect_window(HWND hwnd, LPARAM windows) {
    reinterpret_cast<std::vector<HWND>*>(windows)->push_back(hwnd);
    return TRUE;
}

}  // namespace

std::vector<SeenEvent> drain_events() {
    std::vector<SeenEvent> seen;
    // Bounded: a control that keeps posting must not hang the test.
    for (int i = 0; i < 10000; ++i) {
        int kind = event_wait_timeout(0);
        if (kind == EVENT_NONE) break;
        if (kind >= EVENT_GADGET || kind == EVENT_SIZE_WINDOW || kind == EVENT_CLOSE_WINDOW)
            seen.push_back({kind, event_gadget(), event_window(), event_subtype()});
    }
    return seen;
}

// The window stays open from test to test: under Xvfb without a window
// manager, Wine waits up to two seconds for every top-level window to unmap.
void GadgetWindowTest::SetUp() {
    if (!window_handle(WINDOW)) {
        ASSERT_NE(window_open(WINDOW, 10, 10, 500, 400, u"gadgets", 0), 0);
    }
    gadget_parent_set(test_window());
    drain_events();
}

void GadgetWindowTest::TearDown() {
    std::vector<HWND> children;
    EnumChildWindows(test_window(), collect_window, reinterpret_cast<LPARAM>(&children));
    for (HWND child : children) DestroyWindow(child);
    drain_events();
}
