#include "tests/scenario/gtk/player_mount.h"

#include <sys/mount.h>

PlayerMount::PlayerMount(std::filesystem::path where) : at(std::move(where)) {
    std::filesystem::create_directories(at);
    mounted = mount("tunelathe-player", at.c_str(), "tmpfs", 0, "size=32m") == 0;
}

PlayerMount::~PlayerMount() {
    if (mounted) umount2(at.c_str(), MNT_DETACH);
}
