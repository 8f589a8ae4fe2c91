#include "tests/media/movie_probe.h"

#include <chrono>
#include <thread>

bool wait_for_position(ObjectNumber number, double seconds) {
    for (int i = 0; i < 600; ++i) {
        if (native_position(number) >= seconds) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}
