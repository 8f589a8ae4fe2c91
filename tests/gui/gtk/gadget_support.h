// Shared by the GTK gadget tests: a real runtime window to put gadgets in,
// the events a test produced, and the desktop that clicks and types.
#pragma once

#include <gtk/gtk.h>

#include <gtest/gtest.h>

#include <vector>

#include "runtime/core/object_table.h"
#include "tests/gui/gadget_events.h"
#include "tests/support/gtk_desktop.h"
#include "tests/support/gtk_list_rows.h"

// Window 0 is open (shown at the screen's corner, 500 x 400 inner size, with
// the keyboard focus) and is the gadget parent; everything left queued or
// open is gone afterwards.
class GadgetWindowTest : public ::testing::Test {
public:
    static constexpr ObjectNumber WINDOW = 0;

protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;
    GtkWidget* window_ = nullptr;
    Desktop desktop;
};
