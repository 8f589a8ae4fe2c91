#include "tests/scenario/playlist_view.h"

#include <algorithm>
#include <map>

#include <commctrl.h>

#include "tests/scenario/desktop.h"
#include "tests/scenario/toolbar_probe.h"

namespace {

DWORD_PTR send(HWND hwnd, UINT message, WPARAM wparam = 0, LPARAM lparam = 0) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(hwnd, message, wparam, lparam, SMTO_ABORTIFHUNG, 5000, &result);
    return result;
}

}  // namespace

HWND find_list(HWND main_window) { return FindWindowExW(main_window, nullptr, L"ListBox", nullptr); }

std::vector<std::wstring> list_rows(HWND list) {
    std::vector<std::wstring> found;
    auto count = static_cast<int>(send(list, LB_GETCOUNT));
    for (int row = 0; row < count; ++row) {
        std::wstring text(send(list, LB_GETTEXTLEN, row) + 1, L'\0');
        text.resize(send(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text.data())));
        found.push_back(text);
    }
    return found;
}

std::vector<COLORREF> row_text_colours(HWND list) {
    std::vector<COLORREF> colours;
    const auto height = static_cast<int>(send(list, LB_GETITEMHEIGHT, 0));
    const auto count = static_cast<int>(send(list, LB_GETCOUNT));
    RECT inner{};
    GetClientRect(list, &inner);
    POINT origin{0, 0};
    ClientToScreen(list, &origin);
    // The screen's pixels, copied once: the list is another program's window.
    const int width = inner.right, tall = inner.bottom;
    const std::vector<unsigned long> shown = screen_pixels({origin.x, origin.y, origin.x + width, origin.y + tall});
    if (shown.empty()) return colours;
    auto pixel = [&](int x, int y) {
        const unsigned long rgb = shown[static_cast<std::size_t>(y * width + x)];
        return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
    };
    for (int row = 0; row < count && (row + 1) * height <= tall; ++row) {
        const COLORREF background = pixel(width - 2, row * height + height / 2);
        std::map<COLORREF, int> seen;
        for (int y = row * height + 1; y < (row + 1) * height - 1; ++y)
            for (int x = 2; x < std::min(width - 4, 200); ++x)
                if (pixel(x, y) != background) ++seen[pixel(x, y)];
        auto commonest = std::max_element(seen.begin(), seen.end(),
                                          [](const auto& a, const auto& b) { return a.second < b.second; });
        colours.push_back(commonest == seen.end() ? CLR_INVALID : commonest->first);
    }
    return colours;
}

int selected_row(HWND list) { return static_cast<int>(static_cast<LRESULT>(send(list, LB_GETCURSEL))); }

void click_row(HWND list, int row) {
    auto height = static_cast<LONG>(send(list, LB_GETITEMHEIGHT, 0));
    click_at(centre_on_screen(list, {0, row * height, 40, (row + 1) * height}));
}

void click_toolbar_button(const ProgramProcess& program, HWND main_window, int id) {
    HWND toolbar = find_toolbar(main_window);
    for (const ToolbarPlace& place : read_toolbar(program.handle(), toolbar))
        if (!place.separator && place.id == id) click_at(centre_on_screen(toolbar, place.rect));
}

bool toolbar_button_pressed(HWND main_window, int id) {
    return send(find_toolbar(main_window), TB_ISBUTTONCHECKED, static_cast<WPARAM>(id)) != 0;
}
