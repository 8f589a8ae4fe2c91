// The slider gadget (kind 17) on a GtkScale. A vertical slider has its
// minimum at the bottom, as on the reference platform.
#include <gtk/gtk.h>

#include "runtime/gui/gadget.h"
#include "runtime/gui/gtk/gadget_record.h"
#include "runtime/gui/slider_native.h"

namespace {

constexpr int VERTICAL_FLAG = 2;  // the reference platform's vertical trackbar style

GtkAdjustment* adjustment_of(const GadgetRecord& slider) { return gtk_range_get_adjustment(GTK_RANGE(slider.control)); }

// Every move the user makes becomes an event.
void on_value_changed(GtkRange* range, gpointer) {
    if (GadgetRecord* slider = gadget_of_widget(GTK_WIDGET(range))) gadget_post(*slider, 0);
}

}  // namespace

// The scale is all GTK keeps: nothing to release.
const GadgetNative slider_native = {};

int slider_native_state(GadgetRecord& slider) {
    return static_cast<int>(gtk_adjustment_get_value(adjustment_of(slider)));
}

void slider_native_state_set(GadgetRecord& slider, int state) {
    ++slider.busy;
    gtk_adjustment_set_value(adjustment_of(slider), state);
    --slider.busy;
}

int slider_native_bound(GadgetRecord& slider, int attribute) {
    GtkAdjustment* range = adjustment_of(slider);
    return static_cast<int>(attribute == GADGET_ATTRIBUTE_MINIMUM ? gtk_adjustment_get_lower(range)
                                                                  : gtk_adjustment_get_upper(range));
}

// The value is clamped into the new bounds: no user's move.
void slider_native_bound_set(GadgetRecord& slider, int attribute, int value) {
    ++slider.busy;
    if (attribute == GADGET_ATTRIBUTE_MINIMUM) gtk_adjustment_set_lower(adjustment_of(slider), value);
    else gtk_adjustment_set_upper(adjustment_of(slider), value);
    --slider.busy;
}

std::intptr_t gadget_track_bar(ObjectNumber number, int x, int y, int width, int height, int minimum,
                               int maximum, int flags) {
    const bool vertical = (flags & VERTICAL_FLAG) != 0;
    GtkAdjustment* range = gtk_adjustment_new(0, slider_bound(minimum), slider_bound(maximum), 1, 1, 0);
    GtkWidget* scale = gtk_scale_new(vertical ? GTK_ORIENTATION_VERTICAL : GTK_ORIENTATION_HORIZONTAL, range);
    gtk_scale_set_draw_value(GTK_SCALE(scale), FALSE);
    // A click or drag would leave the scale between two positions.
    gtk_range_set_round_digits(GTK_RANGE(scale), 0);
    gtk_range_set_inverted(GTK_RANGE(scale), vertical);
    GadgetRecord* slider = gadget_create(number, slider_kind, scale, scale, x, y, width, height);
    if (!slider) return 0;
    slider_native_state_set(*slider, 0);
    g_signal_connect(scale, "value-changed", G_CALLBACK(on_value_changed), nullptr);
    return gadget_creation_result(number, *slider);
}
