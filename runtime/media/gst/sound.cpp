// The sound device check: the output the desktop's audio set-up offers first
// (what playbin's own automatic choice would take) must open. Playback then
// plays into an output made the same way (sound_sink.h), so the check says
// "no sound" exactly when playback would be silent, whichever server there
// is: PulseAudio, PipeWire, or the sound card itself.
#include <gst/gst.h>

#include <mutex>
#include <string>

#include "runtime/media/gst/sound_sink.h"
#include "runtime/media/media.h"

namespace {

std::mutex chosen_lock;
std::string chosen;  // the factory of the output found; empty before a check found one

// The factory of the output an automatic sink took when it opened; empty
// when it took none but a stand-in that plays nowhere.
std::string factory_opened_by(GstElement* automatic) {
    std::string factory;
    GstIterator* children = gst_bin_iterate_elements(GST_BIN(automatic));
    GValue child = G_VALUE_INIT;
    if (gst_iterator_next(children, &child) == GST_ITERATOR_OK) {
        GstElementFactory* made_by = gst_element_get_factory(GST_ELEMENT(g_value_get_object(&child)));
        if (made_by) factory = GST_OBJECT_NAME(made_by);
        g_value_unset(&child);
    }
    gst_iterator_free(children);
    return factory == "fakesink" || factory == "fakeaudiosink" ? std::string() : factory;
}

}  // namespace

std::intptr_t sound_init() {
    if (!gst_init_check(nullptr, nullptr, nullptr)) return 0;
    GstElement* automatic = gst_element_factory_make("autoaudiosink", nullptr);
    if (!automatic) return 0;
    std::string factory;
    if (gst_element_set_state(automatic, GST_STATE_READY) != GST_STATE_CHANGE_FAILURE)
        factory = factory_opened_by(automatic);
    gst_element_set_state(automatic, GST_STATE_NULL);
    gst_object_unref(automatic);
    std::lock_guard guard(chosen_lock);
    chosen = factory;
    return factory.empty() ? 0 : 1;
}

void sound_end() {
    std::lock_guard guard(chosen_lock);
    chosen.clear();
}

GstElement* sound_sink_make() {
    std::lock_guard guard(chosen_lock);
    return chosen.empty() ? nullptr : gst_element_factory_make(chosen.c_str(), nullptr);
}
