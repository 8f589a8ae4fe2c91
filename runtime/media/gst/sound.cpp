// The sound device check: the desktop's sound server must take a stream.
// Nothing is kept open afterwards, so there is nothing for sound_end to undo.
#include <gst/gst.h>

#include "runtime/media/media.h"

std::intptr_t sound_init() {
    if (!gst_init_check(nullptr, nullptr, nullptr)) return 0;
    GstElement* sink = gst_element_factory_make("pulsesink", nullptr);
    if (!sink) return 0;
    const bool usable = gst_element_set_state(sink, GST_STATE_READY) != GST_STATE_CHANGE_FAILURE;
    gst_element_set_state(sink, GST_STATE_NULL);
    gst_object_unref(sink);
    return usable ? 1 : 0;
}

void sound_end() {}
