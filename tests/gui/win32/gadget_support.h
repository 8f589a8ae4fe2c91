// Shared by the gadget tests: a real runtime window to put gadgets in, the
// events a test produced, and looks at what the screen shows.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "runtime/core/object_table.h"
#include "tests/gui/gadget_events.h"

HWND handle_of(ObjectNumber gadget);
RECT rect_in_parent(HWND control);
// The colour shown at a point of a control's client area.
COLORREF pixel_at(HWND control, int x, int y);

// Window 0 is open (shown, 500 x 400 inner size) and is the gadget parent;
// everything left queued or open is gone afterwards.
class GadgetWindowTest : public ::testing::Test {
public:
    static constexpr ObjectNumber WINDOW = 0;

protected:
    void SetUp() override;
    void TearDown() override;
    HWND window_handle_ = nullptr;
};
