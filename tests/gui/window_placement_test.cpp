#include "runtime/gui/window_placement.h"

#include <gtest/gtest.h>

#include "runtime/core/object_table.h"
#include "runtime/gui/window.h"

namespace {

TEST(WindowPlacement, GivenPositionsAreKeptEvenNegativeOnes) {
    WindowPlacement place = window_place(-1, -1, 200, 100, 0, 1280, 1024, nullptr);
    EXPECT_EQ(place.x, -1);
    EXPECT_EQ(place.y, -1);
    EXPECT_EQ(place.width, 200);
    EXPECT_FALSE(place.default_position);
}

TEST(WindowPlacement, AnIgnoredCoordinateLeavesBothToThePlatform) {
    EXPECT_TRUE(window_place(IGNORE_VALUE, 5, 200, 100, 0, 1280, 1024, nullptr).default_position);
    EXPECT_TRUE(window_place(5, IGNORE_VALUE, 200, 100, 0, 1280, 1024, nullptr).default_position);
    // Centring wins over ignored coordinates.
    WindowPlacement place = window_place(IGNORE_VALUE, IGNORE_VALUE, 200, 100, WINDOW_CENTERED, 1280, 1024, nullptr);
    EXPECT_FALSE(place.default_position);
    EXPECT_EQ(place.x, 540);
    EXPECT_EQ(place.y, 462);
}

TEST(WindowPlacement, CentringOnTheScreenLimitsTheSizeToTheScreen) {
    WindowPlacement place = window_place(0, 0, 2000, 300, WINDOW_CENTERED, 1280, 1024, nullptr);
    EXPECT_EQ(place.width, 1280);
    EXPECT_EQ(place.height, 300);
    EXPECT_EQ(place.x, 0);
    EXPECT_EQ(place.y, 362);
    // The screen flag wins when both are given.
    ScreenRect parent{100, 100, 200, 200};
    place = window_place(0, 0, 100, 100, WINDOW_CENTERED | WINDOW_CENTERED_ON_PARENT, 1280, 1024, &parent);
    EXPECT_EQ(place.x, 590);
}

TEST(WindowPlacement, CentringOnAParentClampsAtZero) {
    ScreenRect parent{300, 200, 400, 300};
    WindowPlacement place = window_place(7, 8, 100, 50, WINDOW_CENTERED_ON_PARENT, 1280, 1024, &parent);
    EXPECT_EQ(place.x, 450);
    EXPECT_EQ(place.y, 325);
    ScreenRect small{10, 20, 50, 40};
    place = window_place(7, 8, 300, 200, WINDOW_CENTERED_ON_PARENT, 1280, 1024, &small);
    EXPECT_EQ(place.x, 0);
    EXPECT_EQ(place.y, 0);
    EXPECT_EQ(place.width, 300);  // not limited to the parent
    // No parent and no active window: placed as given.
    place = window_place(7, 8, 300, 200, WINDOW_CENTERED_ON_PARENT, 1280, 1024, nullptr);
    EXPECT_EQ(place.x, 7);
    EXPECT_EQ(place.y, 8);
    EXPECT_TRUE(window_place(IGNORE_VALUE, 8, 30, 20, WINDOW_CENTERED_ON_PARENT, 1280, 1024, nullptr).default_position);
}

}  // namespace
