// A player's file system as a test's own tmpfs, mounted where the test says
// (tests run as root), as a player plugged in; gone again whatever happens.
#pragma once

#include <filesystem>

struct PlayerMount {
    std::filesystem::path at;
    bool mounted = false;
    explicit PlayerMount(std::filesystem::path where);
    ~PlayerMount();
    PlayerMount(const PlayerMount&) = delete;
    PlayerMount& operator=(const PlayerMount&) = delete;
};
