// Toolbars: a strip of small image buttons along the top of a window. A click
// on a button reaches the program as EVENT_MENU whose item is the button id,
// so buttons and menu items share one number space. Buttons and separators go
// to the current toolbar (the one created last); the other operations take a
// toolbar number and do nothing (or return 0) when it names no toolbar.
#pragma once

#include <cstdint>

#include "runtime/core/object_table.h"

// Start-up, early: decides once whether the platform's image lists draw
// 32-bit images with their own alpha (then button images need no mask).
void toolbar_graphics_probe();
int toolbar_alpha_imagelists();  // 1 when image lists draw alpha themselves

// Start-up: the toolbar table. False when the platform's bar controls cannot
// be made available.
bool toolbar_init();

// Result: the toolbar's native handle (the new number for DYNAMIC_ID), 0 on
// failure, also while another thread is making or freeing a toolbar under that
// number. The new toolbar becomes the current one, even when creation fails.
std::intptr_t toolbar_create(ObjectNumber number, std::intptr_t parent_window);
// image: a bitmap or icon handle, or 0 for a button without a picture. The
// toolbar keeps its own copy of the picture. Result: non-zero on success.
int toolbar_image_button(int button_id, std::intptr_t image, int toggle = 0);
void toolbar_separator();
int toolbar_tooltip(ObjectNumber number, int button_id, const char16_t* text);  // 1 or 0
void toolbar_button_state_set(ObjectNumber number, int button_id, int state);   // 0 unchecks
int toolbar_height(ObjectNumber number);
std::intptr_t toolbar_handle(ObjectNumber number);  // the native handle, 0 if none
void toolbar_free(ObjectNumber number);             // -1 frees every toolbar
