// What the Win32 drop target, its feedback and the drop event reader share.
#pragma once

#include <windows.h>

#include <cstddef>

#include "runtime/gui/drop.h"

// A record with a copy of `size` bytes of data (none when data is null), or
// nullptr when memory runs out. The caller's fields data and size are ignored.
DropRecord* drop_record_make(const DropRecord& fields, const void* data, std::size_t size);
// Frees a record and its copy; the release function of drop events.
void drop_record_free(void* record);

// DropTargets alive (registered, or still referenced by the platform).
int drop_target_live_count();

// What a target shows as a drag passes (point in client coordinates).
inline constexpr int DROP_FEEDBACK_MARK = 1;    // mark the row under the point
inline constexpr int DROP_FEEDBACK_UNMARK = 2;  // nothing acceptable: no mark
inline constexpr int DROP_FEEDBACK_APPLY = 3;   // dropped: select the row under the point
inline constexpr int DROP_FEEDBACK_LEAVE = 4;   // the drag left
// Returns the row now marked, -1 for none.
int drop_feedback(int owner_kind, HWND handle, int marked_row, POINT point, int state);
