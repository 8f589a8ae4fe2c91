#include "tests/gui/gadget_support.h"

#include <cstdlib>

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

std::vector<SeenEvent> gadget_events() {
    std::vector<SeenEvent> gadget;
    for (const SeenEvent& event : drain_events())
        if (event.kind == EVENT_GADGET) gadget.push_back(event);
    return gadget;
}

std::wstring wide(const char16_t* text) {
    std::wstring result;
    for (; text && *text; ++text) result += static_cast<wchar_t>(*text);
    return result;
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

bool colour_near(COLORREF a, COLORREF b, int tolerance) {
    for (int shift = 0; shift < 24; shift += 8) {
        int difference = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        if (std::abs(difference) > tolerance) return false;
    }
    return true;
}

void mouse_button_at(HWND control, POINT client, DWORD button_flags) {
    POINT screen = client;
    ClientToScreen(control, &screen);
    SetCursorPos(screen.x, screen.y);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = button_flags;
    SendInput(1, &input, sizeof input);
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
