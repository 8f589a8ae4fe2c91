// What the program does with its list's own events.
#pragma once

// The current EVENT_GADGET: a row dragged to another place moves there with
// its entry; a double click plays its row. Clicks and drag starts do nothing.
void HandleListEvent();
