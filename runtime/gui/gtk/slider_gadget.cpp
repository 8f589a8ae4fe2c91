// The slider gadget (kind 17) on a GtkScale. A vertical slider has its
// minimum at the bottom, as on the reference platform.
#include <gtk/gtk.h>

#include "runtime/gui/event.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/gtk/gadget_record.h"

namespace {

constexpr int VERTICAL_FLAG = 2;  // the reference platform's vertical trackbar style

GtkAdjustment* adjustment_of(const GadgetRecord& slider) { return gtk_range_get_adjustment(GTK_RANGE(slider.control)); }

int slider_state_get(GadgetRecord& slider) {
    return static_cast<int>(gtk_adjustment_get_value(adjustment_of(slider)));
}

void slider_state_set(GadgetRecord& slider, int state) {
    ++slider.busy;
    gtk_adjustment_set_value(adjustment_of(slider), state);
    --slider.busy;
}

int slider_attribute_get(GadgetRecord& slider, int attribute) {
    if (attribute == GADGET_ATTRIBUTE_MINIMUM) return static_cast<int>(gtk_adjustment_get_lower(adjustment_of(slider)));
    if (attribute == GADGET_ATTRIBUTE_MAXIMUM) return static_cast<int>(gtk_adjustment_get_upper(adjustment_of(slider)));
    return 0;
}

// Bounds are never negative, as at creation; the state stays where it was.
void slider_attribute_set(GadgetRecord& slider, int attribute, int value) {
    if (attribute != GADGET_ATTRIBUTE_MINIMUM && attribute != GADGET_ATTRIBUTE_MAXIMUM) return;
    const int state = slider_state_get(slider);
    if (value < 0) value = 0;
    ++slider.busy;
    if (attribute == GADGET_ATTRIBUTE_MINIMUM) gtk_adjustment_set_lower(adjustment_of(slider), value);
    else gtk_adjustment_set_upper(adjustment_of(slider), value);
    gtk_adjustment_set_value(adjustment_of(slider), state);
    --slider.busy;
}

// Every move the user makes becomes an event.
void on_value_changed(GtkRange* range, gpointer) {
    if (GadgetRecord* slider = gadget_of_widget(GTK_WIDGET(range))) gadget_post(*slider, 0);
}

const GadgetKind slider_kind = {
    .kind = GADGET_KIND_SLIDER,
    .state_get = slider_state_get,
    .state_set = slider_state_set,
    .attribute_get = slider_attribute_get,
    .attribute_set = slider_attribute_set,
};

}  // namespace

std::intptr_t gadget_track_bar(ObjectNumber number, int x, int y, int width, int height, int minimum,
                               int maximum, int flags) {
    const bool vertical = (flags & VERTICAL_FLAG) != 0;
    GtkAdjustment* range = gtk_adjustment_new(0, minimum < 0 ? 0 : minimum, maximum < 0 ? 0 : maximum, 1, 1, 0);
    GtkWidget* scale = gtk_scale_new(vertical ? GTK_ORIENTATION_VERTICAL : GTK_ORIENTATION_HORIZONTAL, range);
    gtk_scale_set_draw_value(GTK_SCALE(scale), FALSE);
    // A click or drag would leave the scale between two positions.
    gtk_range_set_round_digits(GTK_RANGE(scale), 0);
    gtk_range_set_inverted(GTK_RANGE(scale), vertical);
    GadgetRecord* slider = gadget_create(number, slider_kind, scale, scale, x, y, width, height);
    if (!slider) return 0;
    slider_state_set(*slider, 0);
    g_signal_connect(scale, "value-changed", G_CALLBACK(on_value_changed), nullptr);
    return gadget_creation_result(number, *slider);
}
