#include "tests/gui/win32/gadget_support.h"

#include "runtime/gui/event.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/window.h"
#include "runtime/gui/win32/gui_win32.h"
#include "runtime/text/text.h"

namespace {

class GadgetEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        ASSERT_TRUE(text_init());
        ASSERT_TRUE(event_init());
        ASSERT_TRUE(window_init());
        ASSERT_TRUE(gadget_init());
    }
    void TearDown() override {
        gadget_end();
        window_end();
        event_end();
        text_end();
    }
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new GadgetEnvironment);

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

HWND handle_of(ObjectNumber gadget) { return reinterpret_cast<HWND>(gadget_handle(gadget)); }

RECT rect_in_parent(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

COLORREF pixel_at(HWND control, int x, int y) {
    HDC dc = GetDC(control);
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(control, dc);
    return colour;
}

// The window stays open from test to test: under Xvfb without a window
// manager, Wine waits up to two seconds for every top-level window to unmap.
void GadgetWindowTest::SetUp() {
    window_handle_ = reinterpret_cast<HWND>(window_handle(WINDOW));
    if (!window_handle_)
        window_handle_ = reinterpret_cast<HWND>(window_open(WINDOW, 10, 10, 500, 400, u"gadgets", 0));
    ASSERT_NE(window_handle_, nullptr);
    gadget_parent_set(window_handle_);
    drain_events();
}

void GadgetWindowTest::TearDown() {
    std::vector<HWND> children;
    EnumChildWindows(window_handle_, collect_window, reinterpret_cast<LPARAM>(&children));
    for (HWND child : children) DestroyWindow(child);
    drain_events();
}
