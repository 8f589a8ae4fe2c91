// The slider gadget (kind 17) on a "msctls_trackbar32" control. A vertical
// slider reads upside down: its state is minimum + maximum - position, so the
// bottom end is the minimum.
#include <windows.h>
#include <commctrl.h>

#include "runtime/gui/event.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/slider_native.h"
#include "runtime/gui/win32/gadget_record.h"
#include "runtime/gui/win32/gui_win32.h"

namespace {

constexpr DWORD SLIDER_STYLE = 0x50010000;  // child, visible, tab stop

LRESULT send(const GadgetRecord& slider, UINT message, WPARAM wparam = 0, LPARAM lparam = 0) {
    return SendMessageW(slider.handle, message, wparam, lparam);
}

int minimum(const GadgetRecord& slider) { return static_cast<int>(send(slider, TBM_GETRANGEMIN)); }
int maximum(const GadgetRecord& slider) { return static_cast<int>(send(slider, TBM_GETRANGEMAX)); }

bool is_vertical(const GadgetRecord& slider) {
    return (GetWindowLongPtrW(slider.handle, GWL_STYLE) & TBS_VERT) != 0;
}

// Every scroll notification becomes an event; the trackbar's parent still
// gets its default handling.
bool slider_event(GadgetRecord& slider, ObjectNumber window, UINT message, WPARAM, LPARAM, LRESULT*) {
    if (message == WM_HSCROLL || message == WM_VSCROLL)
        event_post(EVENT_GADGET, gadget_number_of(slider), window, 0);
    return false;
}

}  // namespace

const GadgetNative slider_native = {
    .event_handler = slider_event,
};

int slider_native_state(GadgetRecord& slider) {
    int position = static_cast<int>(send(slider, TBM_GETPOS));
    return is_vertical(slider) ? minimum(slider) + maximum(slider) - position : position;
}

void slider_native_state_set(GadgetRecord& slider, int state) {
    int position = is_vertical(slider) ? minimum(slider) + maximum(slider) - state : state;
    send(slider, TBM_SETPOS, TRUE, position);
}

int slider_native_bound(GadgetRecord& slider, int attribute) {
    return attribute == GADGET_ATTRIBUTE_MINIMUM ? minimum(slider) : maximum(slider);
}

void slider_native_bound_set(GadgetRecord& slider, int attribute, int value) {
    send(slider, attribute == GADGET_ATTRIBUTE_MINIMUM ? TBM_SETRANGEMIN : TBM_SETRANGEMAX, TRUE, value);
}

std::intptr_t gadget_track_bar(ObjectNumber number, int x, int y, int width, int height, int minimum,
                               int maximum, int flags) {
    GadgetRecord* slider = gadget_create(number, slider_kind, TRACKBAR_CLASSW, 0,
                                         static_cast<DWORD>(flags) | SLIDER_STYLE, x, y, width, height);
    if (!slider) return 0;
    send(*slider, TBM_SETRANGEMIN, FALSE, slider_bound(minimum));
    send(*slider, TBM_SETRANGEMAX, FALSE, slider_bound(maximum));
    slider_native_state_set(*slider, 0);
    return gadget_creation_result(number, *slider);
}
