// What each back end gives the slider gadget (kind 17): its native position
// and bounds. The kind's table and its rules live once in slider_kind.cpp.
#pragma once

#include "runtime/gui/gadget_kind.h"

// The slider's kind, for the back end's gadget_track_bar.
extern const GadgetKind slider_kind;
// The slider's entries only its back end calls.
extern const GadgetNative slider_native;

// Bounds are never negative: what a creator and a bound change give the control.
inline int slider_bound(int value) { return value < 0 ? 0 : value; }

// The state: the position, counted from the bottom on a vertical slider.
int slider_native_state(GadgetRecord& slider);
void slider_native_state_set(GadgetRecord& slider, int state);
// attribute: GADGET_ATTRIBUTE_MINIMUM or GADGET_ATTRIBUTE_MAXIMUM.
int slider_native_bound(GadgetRecord& slider, int attribute);
void slider_native_bound_set(GadgetRecord& slider, int attribute, int value);
