#include "runtime/gui/drop_effect.h"

#include "runtime/gui/drop.h"

int drop_effect_choose(int allowed, int key_state, int offered) {
    const int possible = allowed & offered;
    const int keys = key_state & (DROP_KEY_SHIFT | DROP_KEY_CONTROL | DROP_KEY_ALT);
    const bool link_keys = keys == (DROP_KEY_CONTROL | DROP_KEY_SHIFT) || keys == DROP_KEY_ALT;
    if ((possible & DROP_ACTION_LINK) && link_keys) return DROP_ACTION_LINK;
    if ((possible & DROP_ACTION_MOVE) && (keys == DROP_KEY_SHIFT || !(possible & DROP_ACTION_COPY)))
        return DROP_ACTION_MOVE;
    if (possible & DROP_ACTION_COPY) return DROP_ACTION_COPY;
    if (possible & DROP_ACTION_LINK) return DROP_ACTION_LINK;
    return 0;
}
