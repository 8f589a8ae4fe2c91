// What the Win32 window, event and gadget code share inside the back end.
#pragma once

#include <windows.h>

#include "runtime/core/object_table.h"

// Window properties the runtime sets.
inline constexpr wchar_t WINDOW_ID_PROPERTY[] = L"QX_WindowID";  // window number + 1
inline constexpr wchar_t GADGET_ID_PROPERTY[] = L"QX_ID";        // gadget number
inline constexpr wchar_t DROP_ACCEPT_PROPERTY[] = L"QX_DropAccept";

// The runtime window a native window belongs to: the window itself or its
// nearest ancestor carrying QX_WindowID; -1 when there is none.
ObjectNumber window_number_of(HWND hwnd);

// Sets an immediate event while a message is being dispatched; event_wait
// returns it from the same call.
void event_set_immediate(int kind, ObjectNumber object, ObjectNumber window, int subtype);
void event_set_immediate_object_kept(int kind, ObjectNumber window, int subtype);  // object "not set"

// Gadget family hooks used by the window layer.
void gadget_parent_set(HWND parent);  // the calling thread's current gadget parent
HWND gadget_parent();
// Offers a control notification (WM_NOTIFY, WM_COMMAND, scroll, control colour,
// 13120) to the gadget that sent it; true with *result when its kind handled it.
bool gadget_forward_message(HWND control, ObjectNumber window, UINT message, WPARAM wparam,
                            LPARAM lparam, LRESULT* result);
