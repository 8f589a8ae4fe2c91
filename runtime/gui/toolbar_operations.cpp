// The toolbar operations on a made toolbar, for every back end: each looks the
// toolbar up under the table's lock and calls its back end's native step; 0
// (or nothing) when the number names no toolbar or the table is not made yet.
#include <atomic>

#include "runtime/gui/toolbar.h"
#include "runtime/gui/toolbar_native.h"

namespace {

constexpr ObjectNumber NO_TOOLBAR = -1;  // matches no record, numbered or dynamic

std::atomic<ObjectNumber> current_toolbar{NO_TOOLBAR};

// Calls the step on the live toolbar under the number, under the table's lock.
template <typename Result, typename Step>
Result with_toolbar(ObjectNumber number, Result none, Step step) {
    std::recursive_mutex* lock = toolbar_table_lock();
    if (!lock) return none;
    std::lock_guard guard(*lock);
    ToolbarRecord* toolbar = toolbar_lookup(number);
    return toolbar ? step(*toolbar) : none;
}

}  // namespace

void toolbar_make_current(ObjectNumber number) { current_toolbar = number; }

int toolbar_image_button(int button_id, std::intptr_t image, int toggle) {
    return with_toolbar(current_toolbar, 0, [&](ToolbarRecord& toolbar) {
        return toolbar_native_image_button(toolbar, button_id, image, toggle != 0);
    });
}

void toolbar_separator() {
    with_toolbar(current_toolbar, 0, [](ToolbarRecord& toolbar) {
        toolbar_native_separator(toolbar);
        return 0;
    });
}

int toolbar_tooltip(ObjectNumber number, int button_id, const char16_t* text) {
    return with_toolbar(number, 0, [&](ToolbarRecord& toolbar) {
        return toolbar_native_tooltip(toolbar, button_id, text ? text : u"");
    });
}

void toolbar_button_state_set(ObjectNumber number, int button_id, int state) {
    with_toolbar(number, 0, [&](ToolbarRecord& toolbar) {
        toolbar_native_check(toolbar, button_id, state != 0);
        return 0;
    });
}

int toolbar_height(ObjectNumber number) {
    return with_toolbar(number, 0, [](ToolbarRecord& toolbar) { return toolbar_native_height(toolbar); });
}

std::intptr_t toolbar_handle(ObjectNumber number) {
    return with_toolbar(number, std::intptr_t{0},
                        [](ToolbarRecord& toolbar) { return toolbar_native_handle(toolbar); });
}
