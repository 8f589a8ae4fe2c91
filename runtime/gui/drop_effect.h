// The one action a drop takes, from what the target allows, the keys held and
// what the source offers.
#pragma once

// Key-state bits as the platform reports them during a drag.
inline constexpr int DROP_KEY_SHIFT = 4;
inline constexpr int DROP_KEY_CONTROL = 8;
inline constexpr int DROP_KEY_ALT = 32;

// Link when both allow it and the keys are exactly Ctrl+Shift or exactly Alt;
// else move when allowed and the keys are exactly Shift or copy is not
// possible; else copy; else link; else 0 (refused).
int drop_effect_choose(int allowed, int key_state, int offered);
