#include "runtime/gui/window_placement.h"

#include <gtest/gtest.h>

#include <climits>

#include "runtime/core/object_table.h"
#include "runtime/gui/window.h"
#include "runtime/gui/window_scale.h"

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

TEST(WindowScale, AtTheUnitDensityEveryLengthStaysAsItIs) {
    for (int length : {-32768, -1, 0, 1, 5, 30, 830, 32767}) {
        EXPECT_EQ(scale_to_pixels(length, 96), length);
        EXPECT_EQ(scale_to_units(length, 96), length);
    }
}

TEST(WindowScale, LengthsGrowWithTheDensityToTheNearestPixelAndComeBack) {
    EXPECT_EQ(scale_to_pixels(830, 192), 1660);
    EXPECT_EQ(scale_to_pixels(620, 144), 930);
    EXPECT_EQ(scale_to_pixels(5, 144), 8);    // 7.5, the half away from zero
    EXPECT_EQ(scale_to_pixels(-5, 144), -8);
    EXPECT_EQ(scale_to_pixels(1, 120), 1);    // 1.25
    EXPECT_EQ(scale_to_units(44, 192), 22);
    EXPECT_EQ(scale_to_units(45, 192), 23);
    EXPECT_EQ(scale_to_units(-3, 144), -2);
    // A density at least the unit's spreads units over whole pixels, so a
    // length taken to pixels and back is the same.
    for (int dpi : {96, 120, 144, 168, 192, 288})
        for (int length = -300; length <= 300; ++length)
            EXPECT_EQ(scale_to_units(scale_to_pixels(length, dpi), dpi), length) << length << " at " << dpi;
}

TEST(WindowScale, IgnoredValuesUnknownDensitiesAndHugeLengths) {
    EXPECT_EQ(scale_to_pixels(IGNORE_VALUE, 192), IGNORE_VALUE);
    EXPECT_EQ(scale_to_units(IGNORE_VALUE, 192), IGNORE_VALUE);
    EXPECT_EQ(scale_to_pixels(40, 0), 40);
    EXPECT_EQ(scale_to_units(40, -96), 40);
    EXPECT_EQ(scale_to_pixels(INT_MAX, 192), INT_MAX);
    EXPECT_EQ(scale_to_pixels(INT_MIN, 192), INT_MIN);
    EXPECT_EQ(scale_to_units(INT_MAX, 48), INT_MAX);
}

TEST(WindowScale, TheToolbarTakesThe32PixelPicturesFromOneAndAHalfTimesTheUnitDensity) {
    EXPECT_EQ(toolbar_picture_side(96), 16);
    EXPECT_EQ(toolbar_picture_side(120), 16);
    EXPECT_EQ(toolbar_picture_side(143), 16);
    EXPECT_EQ(toolbar_picture_side(144), 32);
    EXPECT_EQ(toolbar_picture_side(192), 32);
    EXPECT_EQ(toolbar_picture_side(0), 16);
}

}  // namespace
