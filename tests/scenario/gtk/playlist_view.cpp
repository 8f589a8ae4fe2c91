#include "tests/scenario/gtk/playlist_view.h"

#include <algorithm>
#include <chrono>
#include <map>
#include <thread>

namespace {

void pause_ms(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

// Left of where a long row's text ends, right of the list's border.
constexpr int ROW_TEXT_X = LIST_X + 30;
// Beyond the end of every row's text: only a highlight shows there.
constexpr int BEYOND_TEXT_X = LIST_X + 600;
constexpr int LIST_HEIGHT_LOOKED_AT = 400;

// The list's text is light: near white, or a marked row's colour made light
// on the dark list, on its back colour and on a chosen row's highlight
// alike. A highlight alone, light in one channel at most, is no text.
bool text_colour(unsigned long colour) {
    const unsigned long red = colour >> 16 & 0xFF, green = colour >> 8 & 0xFF, blue = colour & 0xFF;
    const int light = (red > 0x90) + (green > 0x90) + (blue > 0x90);
    return light >= 2 && std::max({red, green, blue}) > 0xC0;
}

}  // namespace

PlaylistView::PlaylistView(XPerson& person, unsigned long main_window) : person_(person), window_(main_window) {}

std::vector<XPerson::Stretch> PlaylistView::rows() {
    const XPerson::Box area{LIST_X + 3, LIST_Y + 1, BEYOND_TEXT_X - LIST_X, LIST_HEIGHT_LOOKED_AT};
    const std::vector<unsigned long> colours = person_.pixels(window_, area);
    std::vector<XPerson::Stretch> found;
    if (colours.empty()) return found;
    // Lines of text, with the gaps inside a letter (an accent over it) closed.
    constexpr int merge_gap = 2;
    for (int y = 0; y < area.height; ++y) {
        bool text = false;
        for (int x = 0; x < area.width && !text; ++x)
            text = text_colour(colours[static_cast<std::size_t>(y * area.width + x)]);
        if (!text) continue;
        const int at = area.y + y;
        if (!found.empty() && at - found.back().to <= merge_gap + 1)
            found.back().to = at;
        else
            found.push_back({at, at});
    }
    return found;
}

bool PlaylistView::wait_rows(std::size_t count, int timeout_ms) {
    for (int waited = 0; waited < timeout_ms; waited += 50) {
        if (rows().size() == count) return true;
        pause_ms(50);
    }
    return false;
}

unsigned long PlaylistView::row_colour(int row) {
    const std::vector<XPerson::Stretch> seen = rows();
    if (row < 0 || static_cast<std::size_t>(row) >= seen.size()) return 0;
    const XPerson::Stretch& line = seen[static_cast<std::size_t>(row)];
    const XPerson::Box area{LIST_X + 3, line.from, ROW_TEXT_X + 120 - LIST_X, line.to - line.from + 1};
    std::map<unsigned long, int> counted;
    for (unsigned long colour : person_.pixels(window_, area))
        if (text_colour(colour)) ++counted[colour];
    auto commonest = std::max_element(counted.begin(), counted.end(),
                                      [](const auto& a, const auto& b) { return a.second < b.second; });
    return commonest == counted.end() ? 0 : commonest->first;
}

void PlaylistView::click_row(int row) {
    const int y = screen_y_of_row(row);
    if (y >= 0) person_.click(screen_x(), y);
}

bool PlaylistView::selected(int row, int timeout_ms) {
    for (int waited = 0; waited < timeout_ms; waited += 50) {
        const std::vector<XPerson::Stretch> seen = rows();
        if (row >= 0 && static_cast<std::size_t>(row) < seen.size() &&
            person_.pixel(window_, BEYOND_TEXT_X, seen[static_cast<std::size_t>(row)].middle()) != LIST_COLOUR)
            return true;
        pause_ms(50);
    }
    return false;
}

int PlaylistView::screen_x() const { return person_.box(window_).x + ROW_TEXT_X; }

int PlaylistView::screen_y_of_row(int row) {
    const std::vector<XPerson::Stretch> seen = rows();
    if (row < 0 || static_cast<std::size_t>(row) >= seen.size()) return -1;
    return person_.box(window_).y + seen[static_cast<std::size_t>(row)].middle();
}

int PlaylistView::screen_y_below_rows() {
    const std::vector<XPerson::Stretch> seen = rows();
    const int below = (seen.empty() ? LIST_Y : seen.back().to) + 60;
    return person_.box(window_).y + below;
}
