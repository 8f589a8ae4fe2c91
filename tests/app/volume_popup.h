// The volume pop-up as a person sees and uses it: opened by the Volume
// command under the pointer, it runs its own loop until the pointer leaves it.
// Each back end's person (tests/app/win32/, tests/app/gtk/) looks at it,
// moves its slider and moves the pointer away.
#pragma once

#include <string>

struct ScreenAt {
    int x;
    int y;
};

struct PopupView {
    bool appeared = false;
    ScreenAt origin{};  // the inner area's top-left corner on the screen
    int inner_width = 0, inner_height = 0;
    int mouse_x = 0, mouse_y = 0;  // window_mouse_x/y of the pop-up
    int slider = -1;
    std::wstring tooltip;
    bool stayed_open = false;  // while events came with the pointer inside
    std::wstring moved_tooltip;
    bool closed = false;
};

// With the pointer at `pointer`, runs the program's Volume command; the
// person looks at the pop-up, moves the slider to move_to (-1: leaves it),
// then puts the pointer at leave_at.
PopupView change_volume(ScreenAt pointer, int move_to, ScreenAt leave_at);
