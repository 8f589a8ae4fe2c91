// What the Win32 toolbar files share: the toolbar record and table, the parent
// window hook, the mask maker and the graphics probe.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "runtime/core/object_table.h"
#include "runtime/gui/win32/gui_win32.h"  // TOOLBAR_CONTROL_ID

struct ToolbarRecord {
    HWND toolbar;  // the common-controls toolbar; 0 = entry free
    HWND tooltip;  // the family's own tooltip window for the buttons
    // The image list made at creation when the toolbar had none. A toolbar
    // never destroys an image list handed to it, so the family does.
    HIMAGELIST own_image_list;
};

// The toolbar table; nullptr before toolbar_init.
ObjectTable<ToolbarRecord>* toolbar_table();

// Frees every toolbar whose window no longer exists (its parent was destroyed).
void toolbar_free_orphans();

// Window properties on a toolbar's parent window.
inline constexpr wchar_t TOOLBAR_CALLBACK_PROPERTY[] = L"qx_toolbar_callback";  // replaced procedure
inline constexpr wchar_t TOOLBAR_ID_PROPERTY[] = L"qx_toolbar_id";              // toolbar number, -1 none

// Replaces the parent's window procedure once per window: the hook resizes the
// toolbar with its window, undoes the pressed look a right-click leaves, and
// frees the toolbar with its window.
void toolbar_hook_parent(HWND parent);
LRESULT CALLBACK toolbar_window_hook(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

// The monochrome mask for a button bitmap: black (opaque) where the pixel's
// alpha is non-zero, white where it is zero. All black when image lists draw
// alpha themselves, the bitmap is not 32-bit, its pixels cannot be read, or no
// pixel has alpha. The caller deletes the mask; 0 when the handle is no bitmap.
HBITMAP image_mask_from_alpha(HBITMAP bitmap);

// The version part of the graphics probe: 0 on systems whose image lists never
// draw alpha (the consumer line, NT before 5.1); 1 otherwise, also when the
// version is unknown (nullptr).
int alpha_imagelists_version_rule(const OSVERSIONINFOW* version);

// Test hook: overrides what toolbar_graphics_probe found.
void toolbar_alpha_imagelists_force(int value);
