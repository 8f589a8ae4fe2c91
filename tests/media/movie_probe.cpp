#include "tests/media/movie_probe.h"

bool wait_for_position(ObjectNumber number, double seconds) {
    for (int i = 0; i < 600; ++i) {
        if (native_position(number) >= seconds) return true;
        native_idle(50);
    }
    return false;
}
