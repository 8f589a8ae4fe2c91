// What each back end gives the toolbar operations (toolbar_operations.cpp):
// its toolbar table's lock and look-up, and the native steps on one toolbar.
#pragma once

#include <cstdint>
#include <mutex>

#include "runtime/core/object_table.h"

struct ToolbarRecord;  // one toolbar, as its back end keeps it

// The toolbar table's lock; nullptr before toolbar_init.
std::recursive_mutex* toolbar_table_lock();
// The live toolbar under the number, or nullptr; under that lock.
ToolbarRecord* toolbar_lookup(ObjectNumber number);
// Makes the number the current toolbar, the one buttons and separators go to:
// the one created last, also when its creation failed (then they are ignored).
void toolbar_make_current(ObjectNumber number);

// Result: non-zero when the button was added.
int toolbar_native_image_button(ToolbarRecord& toolbar, int button_id, std::intptr_t image, bool toggle);
void toolbar_native_separator(ToolbarRecord& toolbar);
int toolbar_native_tooltip(ToolbarRecord& toolbar, int button_id, const char16_t* text);  // 1 or 0
void toolbar_native_check(ToolbarRecord& toolbar, int button_id, bool checked);
int toolbar_native_height(ToolbarRecord& toolbar);
std::intptr_t toolbar_native_handle(ToolbarRecord& toolbar);
