// The main window's list as a person sees and uses it: the rows are the
// lines of text down the list, a chosen row is highlighted across the list,
// and a click on a row chooses it.
#pragma once

#include <vector>

#include "tests/support/x_person.h"

// Where the program puts its list below the toolbar, in the main window.
inline constexpr int LIST_X = 5, LIST_Y = 30;
// The list's back colour.
inline constexpr unsigned long LIST_COLOUR = 0x454545;

class PlaylistView {
public:
    PlaylistView(XPerson& person, unsigned long main_window);
    // The rows shown, top to bottom, in window coordinates.
    std::vector<XPerson::Stretch> rows();
    // Waits until the list shows that many rows; false after timeout_ms.
    bool wait_rows(std::size_t count, int timeout_ms = 5000);
    // The colour a row's text is drawn in (0xRRGGBB): the commonest text
    // colour in its first letters; 0 for no such row.
    unsigned long row_colour(int row);
    void click_row(int row);
    // Whether the row is highlighted, waiting up to timeout_ms for it.
    bool selected(int row, int timeout_ms = 3000);
    // Points on the screen inside the list: on a row's text, below the rows.
    int screen_x() const;
    int screen_y_of_row(int row);
    int screen_y_below_rows();

private:
    XPerson& person_;
    unsigned long window_;
};
