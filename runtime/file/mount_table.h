// The mount table of a Linux system, in the format of /proc/self/mountinfo.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct MountPoint {
    std::string path;  // where the file system is mounted
    std::string root;  // its folder that is mounted there: "/" but for a bind mount of a part of it
};

// The mount points the table lists, in its order, with its escapes decoded
// ("\040" for a space).
std::vector<MountPoint> mount_points_of(std::string_view table);

// The mount point that holds the absolute, real path: the longest one of
// them that is the path itself or one of its parent folders. An empty path
// when none is.
MountPoint mount_point_holding(const std::vector<MountPoint>& mount_points, std::string_view path);
