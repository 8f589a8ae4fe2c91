// What the GTK drop files share: the DropRecords handed to the event queue.
#pragma once

#include "runtime/gui/drop.h"

// A record with the fields given; its data (malloc'd, or none) becomes the
// record's. nullptr when memory ran out (the data is freed then).
DropRecord* drop_record_make(const DropRecord& fields);
// Frees a record and its data: the release function of drop events.
void drop_record_free(void* record);
