// What the Win32 window, event and gadget code share inside the back end.
#pragma once

#include <windows.h>

#include "runtime/core/object_table.h"
#include "runtime/gui/event.h"

// Window properties the runtime sets.
inline constexpr wchar_t WINDOW_ID_PROPERTY[] = L"QX_WindowID";  // window number + 1
inline constexpr wchar_t GADGET_ID_PROPERTY[] = L"QX_ID";        // gadget number
inline constexpr wchar_t DROP_ACCEPT_PROPERTY[] = L"QX_DropAccept";

// Private messages the runtime window procedure understands.
inline constexpr UINT TRAY_ICON_MESSAGE = 12501;    // wparam icon id, lparam mouse message
inline constexpr UINT WINDOW_DROP_MESSAGE = 13105;  // lparam: the DropRecord
inline constexpr UINT GADGET_DROP_MESSAGE = 13106;  // wparam gadget number, lparam: the DropRecord
inline constexpr UINT GADGET_NOTIFY_MESSAGE = 13120;  // lparam: the sending control

// Control identifier of every toolbar: its commands arrive as EVENT_MENU.
inline constexpr int TOOLBAR_CONTROL_ID = -10000;

// The runtime window a native window belongs to: the window itself or its
// nearest ancestor carrying QX_WindowID; -1 when there is none.
ObjectNumber window_number_of(HWND hwnd);

// Sets an immediate event while a message is being dispatched; event_wait
// returns it from the same call. Raised while no event_wait is dispatching
// (a modal loop of a message box, a message sent from outside the loop), the
// event is queued instead, so that it is not lost.
void event_set_immediate(int kind, ObjectNumber object, ObjectNumber window, int subtype);
void event_set_immediate_object_kept(int kind, ObjectNumber window, int subtype);  // object "not set"

// DropRecords: the drop messages (13105, 13106) carry one in lparam; it
// becomes the current event's data (event_data) and is released by the next
// wait, or by window_end, through the function registered here; a drop
// message still queued when its window is destroyed is released then. The
// drop family registers it when it starts; until then records are not released.
void event_drop_release_set(EventDataRelease release);

// The calling thread's current gadget parent: the window new gadgets go into.
// window_open sets it (unless told not to); it is cleared when that window is
// destroyed.
void gadget_parent_set(HWND parent);
HWND gadget_parent();

// Offers a control notification (WM_NOTIFY, WM_COMMAND, scroll, control colour,
// 13120) to the gadget that sent it; true with *result when its kind handled it.
bool gadget_forward_message(HWND control, ObjectNumber window, UINT message, WPARAM wparam,
                            LPARAM lparam, LRESULT* result);
