// The slider gadget's kind table for every back end: its bounds are the
// minimum and maximum attributes, and changing one keeps the state.
#include "runtime/gui/gadget.h"
#include "runtime/gui/slider_native.h"

namespace {

bool is_bound(int attribute) { return attribute == GADGET_ATTRIBUTE_MINIMUM || attribute == GADGET_ATTRIBUTE_MAXIMUM; }

int slider_attribute_get(GadgetRecord& slider, int attribute) {
    return is_bound(attribute) ? slider_native_bound(slider, attribute) : 0;
}

void slider_attribute_set(GadgetRecord& slider, int attribute, int value) {
    if (!is_bound(attribute)) return;
    const int state = slider_native_state(slider);
    slider_native_bound_set(slider, attribute, slider_bound(value));
    slider_native_state_set(slider, state);
}

}  // namespace

const GadgetKind slider_kind = {
    .kind = GADGET_KIND_SLIDER,
    .native = &slider_native,
    .state_get = slider_native_state,
    .state_set = slider_native_state_set,
    .attribute_get = slider_attribute_get,
    .attribute_set = slider_attribute_set,
};
