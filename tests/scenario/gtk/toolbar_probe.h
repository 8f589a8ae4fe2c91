// The main window's toolbar as a person sees and uses it: fifteen icons in a
// row (separators are thin lines), each pressed by a click on it.
#pragma once

#include <vector>

#include "tests/support/x_person.h"

// Toolbar items by their ids.
enum ToolItem {
    TOOL_NEW = 0, TOOL_OPEN = 1, TOOL_SAVE = 2, TOOL_SAVE_AS = 3, TOOL_DELETE = 4, TOOL_MOVE_UP = 5,
    TOOL_MOVE_DOWN = 6, TOOL_SHUFFLE = 7, TOOL_STOP = 8, TOOL_PLAY = 9, TOOL_PAUSE = 10, TOOL_NEXT = 11,
    TOOL_PREVIOUS = 12, TOOL_VOLUME = 13, TOOL_HELP = 14
};

class Toolbar {
public:
    Toolbar(XPerson& person, unsigned long main_window);
    bool complete() const { return buttons_.size() == 15; }
    // A click on the item's button, after which the pointer goes away from
    // the toolbar, as a person's hand does, so that no tooltip covers a row;
    // leave_pointer false keeps it on the button. False when the click did
    // not arrive (see XPerson::click).
    bool press(int item, bool leave_pointer = true);
    // Whether the item's button looks pressed in: unlike its look when the
    // toolbar was first seen, with every button out. The pointer must be
    // away from the toolbar.
    bool looks_pressed(int item);
    // Where press clicks the item's button, on the screen.
    int click_x(int item);
    int click_y();

private:
    XPerson::Box area(int place) const;
    XPerson& person_;
    unsigned long window_;
    std::vector<XPerson::Stretch> buttons_;
    std::vector<std::vector<unsigned long>> released_looks_;
};

// The volume pop-up the Volume button opens under the pointer: the shown
// pop-up of its size, or 0 when none is there within timeout_ms.
unsigned long volume_popup(XPerson& person, int timeout_ms);
