// The mount table of a Linux system, in the format of /proc/self/mountinfo.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The mount points the table lists, in its order, with its escapes decoded
// ("\040" for a space).
std::vector<std::string> mount_points_of(std::string_view table);

// The mount point that holds the absolute, real path: the longest one of
// them that is the path itself or one of its parent folders. Empty when none
// is.
std::string mount_point_holding(const std::vector<std::string>& mount_points, std::string_view path);
