#include "tests/scenario/gtk/toolbar_probe.h"

#include <chrono>
#include <thread>

#include "tests/scenario/gtk/playlist_view.h"

namespace {

// The items in their places along the toolbar: Previous stands left of Next.
constexpr int ITEM_AT_PLACE[15] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 11, 13, 14};

int place_of(int item) {
    for (int place = 0; place < 15; ++place)
        if (ITEM_AT_PLACE[place] == item) return place;
    return -1;
}

}  // namespace

Toolbar::Toolbar(XPerson& person, unsigned long main_window) : person_(person), window_(main_window) {
    const XPerson::Box window = person.box(main_window);
    for (const XPerson::Stretch& seen : person.ink(main_window, {0, 0, window.width, LIST_Y - 1}, false, 3))
        if (seen.length() >= 6) buttons_.push_back(seen);
    for (int place = 0; place < static_cast<int>(buttons_.size()); ++place)
        released_looks_.push_back(person.pixels(main_window, area(place)));
}

XPerson::Box Toolbar::area(int place) const {
    const XPerson::Stretch& button = buttons_[static_cast<std::size_t>(place)];
    return {button.from, 0, button.length(), LIST_Y - 1};
}

bool Toolbar::looks_pressed(int item) {
    const int place = place_of(item);
    if (!complete() || place < 0) return false;
    const std::vector<unsigned long> now = person_.pixels(window_, area(place));
    const std::vector<unsigned long>& released = released_looks_[static_cast<std::size_t>(place)];
    if (now.size() != released.size()) return false;
    // A pressed-in button has a box of its own colour around its icon.
    constexpr int box_pixels = 50;
    int changed = 0;
    for (std::size_t i = 0; i < now.size(); ++i) changed += now[i] != released[i];
    return changed > box_pixels;
}

int Toolbar::click_x(int item) {
    const int place = place_of(item);
    if (!complete() || place < 0) return -1;
    return person_.box(window_).x + buttons_[static_cast<std::size_t>(place)].middle();
}

int Toolbar::click_y() { return person_.box(window_).y + (LIST_Y - 1) / 2; }

bool Toolbar::press(int item, bool leave_pointer) {
    if (click_x(item) < 0) return false;
    const bool arrived = person_.click(click_x(item), click_y());
    const XPerson::Box window = person_.box(window_);
    if (leave_pointer) person_.move_to(window.x + window.width - 50, window.y + window.height - 50);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    return arrived;
}

unsigned long volume_popup(XPerson& person, int timeout_ms) {
    for (int waited = 0;; waited += 50) {
        for (unsigned long window : person.popups()) {
            const XPerson::Box box = person.box(window);
            if (box.width == 200 && box.height == 50) return window;
        }
        if (waited >= timeout_ms) return 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}
