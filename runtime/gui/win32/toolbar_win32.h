// What the Win32 toolbar files share: the toolbar record and table, the parent
// window hook, the mask maker and the graphics probe.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "runtime/core/object_table.h"
#include "runtime/gui/win32/gui_win32.h"  // TOOLBAR_CONTROL_ID

struct ToolbarPictures;

struct ToolbarRecord {
    HWND toolbar;  // the common-controls toolbar; 0 = entry free
    HWND tooltip;  // the family's own tooltip window for the buttons
    // The image list made at creation when the toolbar had none. A toolbar
    // never destroys an image list handed to it, so the family does.
    HIMAGELIST own_image_list;
    ToolbarPictures* pictures;  // what own_image_list shows, for another density (toolbar_pictures.cpp)
    int dpi;                    // its window's density
};

// The toolbar table; nullptr before toolbar_init.
ObjectTable<ToolbarRecord>* toolbar_table();

// The image list for a new toolbar: pictures of the side its window's density takes.
HIMAGELIST toolbar_image_list_create(int dpi);
// Appends the button picture (a bitmap or icon handle) to the list at the
// list's side, a bitmap's double picture at 32 pixels; and remembers it when
// the list is the toolbar's own. The index, -1 when there is no picture.
int toolbar_picture_add(ToolbarRecord& record, HIMAGELIST list, std::intptr_t image);
void toolbar_pictures_free(ToolbarPictures* pictures);
// The room around the toolbar's button pictures, scaled from the unit
// density's default; asked for after each new image list, which makes the
// control measure its buttons anew.
void toolbar_padding_set(HWND toolbar, int dpi);
// The toolbar on parent, whose window moved to a screen of that density: its
// own image list made again at the side the density takes.
void toolbar_dpi_changed(HWND parent, int dpi);

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
