// What the toolbar tests of every back end start first: the event queue, the
// window library, the image table with the PNG decoder, and the toolbar table.
#pragma once

#include <gtest/gtest.h>

#include "runtime/gui/event.h"
#include "runtime/gui/toolbar.h"
#include "runtime/gui/window.h"
#include "runtime/image/image.h"

class ToolbarSuite : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(event_init());
        ASSERT_TRUE(window_init());
        ASSERT_TRUE(image_init());
        image_decoder_png_register();
        ASSERT_TRUE(toolbar_init());
    }
    static void TearDownTestSuite() {
        window_end();
        image_free_all();
        event_end();
    }
};
