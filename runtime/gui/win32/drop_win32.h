// What the Win32 drop target, its feedback and the drop event reader share.
#pragma once

#include <windows.h>
#include <ole2.h>

#include "runtime/gui/drop.h"

// A record for a drop's event. The data the source handed over in global
// memory is kept where it is, not copied (a large file list is megabytes),
// and the medium is released with the record: the record takes it over, and
// medium is left empty. No medium (null) for a private type. nullptr, with the
// medium released, when memory runs out or the medium holds no readable
// global memory. The caller's fields data and size are ignored.
DropRecord* drop_record_make(const DropRecord& fields, STGMEDIUM* medium);
// Frees a record and releases its medium; the release function of drop events.
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
