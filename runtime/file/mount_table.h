// The mount table of a Linux system, in the format of /proc/self/mountinfo.
#pragma once

#include <string>
#include <string_view>

// The mount point that holds the absolute, real path: the longest one listed
// in table that is the path itself or one of its parent folders, with the
// table's escapes decoded ("\040" for a space). Empty when none is.
std::string mount_point_holding(std::string_view table, std::string_view path);
