// The choice of one action from what the target allows, the keys held and
// what the source offers.
#include <gtest/gtest.h>

#include "runtime/gui/drop.h"
#include "runtime/gui/drop_effect.h"

namespace {

constexpr int COPY = DROP_ACTION_COPY;
constexpr int MOVE = DROP_ACTION_MOVE;
constexpr int LINK = DROP_ACTION_LINK;
constexpr int ALL = COPY | MOVE | LINK;
constexpr int SHIFT = DROP_KEY_SHIFT;
constexpr int CTRL = DROP_KEY_CONTROL;
constexpr int ALT = DROP_KEY_ALT;
constexpr int LEFT_BUTTON = 1;  // mouse buttons are part of the key state too
constexpr int MIDDLE_BUTTON = 16;

TEST(DropEffectTest, LinkNeedsExactlyCtrlShiftOrExactlyAltAndBothSidesAllowingIt) {
    EXPECT_EQ(drop_effect_choose(ALL, CTRL | SHIFT, ALL), LINK);
    EXPECT_EQ(drop_effect_choose(ALL, ALT, ALL), LINK);
    EXPECT_EQ(drop_effect_choose(ALL, ALT | LEFT_BUTTON | MIDDLE_BUTTON, ALL), LINK);
    EXPECT_EQ(drop_effect_choose(ALL, CTRL | SHIFT | ALT, ALL), COPY);
    EXPECT_EQ(drop_effect_choose(ALL, ALT | SHIFT, ALL), COPY);
    EXPECT_EQ(drop_effect_choose(COPY | MOVE, ALT, ALL), COPY);  // target does not link
    EXPECT_EQ(drop_effect_choose(ALL, ALT, COPY | MOVE), COPY);  // source does not link
}

TEST(DropEffectTest, MoveWithExactlyShiftOrWhenCopyIsNotPossible) {
    EXPECT_EQ(drop_effect_choose(ALL, SHIFT, ALL), MOVE);
    EXPECT_EQ(drop_effect_choose(ALL, SHIFT | LEFT_BUTTON, ALL), MOVE);
    EXPECT_EQ(drop_effect_choose(ALL, 0, ALL), COPY);
    EXPECT_EQ(drop_effect_choose(ALL, CTRL, ALL), COPY);
    EXPECT_EQ(drop_effect_choose(MOVE | LINK, 0, ALL), MOVE);
    EXPECT_EQ(drop_effect_choose(ALL, 0, MOVE), MOVE);
    EXPECT_EQ(drop_effect_choose(COPY | LINK, SHIFT, ALL), COPY);  // target does not move
}

TEST(DropEffectTest, CopyOtherwiseThenLinkThenNothing) {
    EXPECT_EQ(drop_effect_choose(COPY, CTRL | SHIFT, ALL), COPY);
    EXPECT_EQ(drop_effect_choose(LINK, 0, ALL), LINK);
    EXPECT_EQ(drop_effect_choose(LINK, SHIFT, ALL), LINK);
    EXPECT_EQ(drop_effect_choose(COPY, 0, MOVE | LINK), 0);
    EXPECT_EQ(drop_effect_choose(0, 0, ALL), 0);
    EXPECT_EQ(drop_effect_choose(ALL, 0, 0), 0);
}

// The playlist accepts copy or link; a file manager offers all three.
TEST(DropEffectTest, ThePlaylistsActionsGiveLinkWithAltOrCtrlShiftElseCopy) {
    constexpr int PLAYLIST = COPY | LINK;
    EXPECT_EQ(drop_effect_choose(PLAYLIST, LEFT_BUTTON, ALL), COPY);
    EXPECT_EQ(drop_effect_choose(PLAYLIST, LEFT_BUTTON | ALT, ALL), LINK);
    EXPECT_EQ(drop_effect_choose(PLAYLIST, LEFT_BUTTON | CTRL | SHIFT, ALL), LINK);
    EXPECT_EQ(drop_effect_choose(PLAYLIST, LEFT_BUTTON | SHIFT, ALL), COPY);
    EXPECT_EQ(drop_effect_choose(PLAYLIST, LEFT_BUTTON | CTRL, ALL), COPY);
}

}  // namespace
