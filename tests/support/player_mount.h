// A player's file system mounted where the test says (tests run as root), as
// a player plugged in; gone again whatever happens. A tmpfs stands for any
// player. exFAT, as players' memory cards come formatted, is a file system
// image of its own on a loop device, mounted through FUSE: its names ignore
// letter case.
#pragma once

#include <filesystem>
#include <string>

enum class PlayerFileSystem { tmpfs, exfat };

struct PlayerMount {
    std::filesystem::path at;
    bool mounted = false;
    // False when this machine's kernel or devices cannot mount the file
    // system at all; problem says why, and why a mount failed.
    bool supported = true;
    std::string problem;
    explicit PlayerMount(std::filesystem::path where, PlayerFileSystem system = PlayerFileSystem::tmpfs);
    ~PlayerMount();
    PlayerMount(const PlayerMount&) = delete;
    PlayerMount& operator=(const PlayerMount&) = delete;

private:
    void mount_exfat();
    std::filesystem::path image_;  // empty for a tmpfs
    std::string loop_device_;      // empty until one is attached
};
