// The movies' native side on GStreamer: playbins, counted by their
// references.
#include "tests/media/movie_probe.h"

#include <gst/gst.h>

#include <vector>

#include "runtime/media/gst/movie_record.h"

namespace {

std::vector<GstElement*> watched;

GstElement* pipeline_of(ObjectNumber number) {
    ObjectTable<MovieRecord>* movies = movie_table();
    const MovieRecord* movie = movies ? movies->find(number) : nullptr;
    return movie ? movie->playbin : nullptr;
}

}  // namespace

const int NATIVE_STOPPED = GST_STATE_PAUSED, NATIVE_PAUSED = GST_STATE_PAUSED, NATIVE_PLAYING = GST_STATE_PLAYING;

std::intptr_t native_movie(ObjectNumber number) { return reinterpret_cast<std::intptr_t>(pipeline_of(number)); }

int native_state(ObjectNumber number) {
    GstElement* pipeline = pipeline_of(number);
    GstState state = GST_STATE_VOID_PENDING;
    if (!pipeline || gst_element_get_state(pipeline, &state, nullptr, 5 * GST_SECOND) == GST_STATE_CHANGE_FAILURE)
        return -1;
    return state;
}

double native_position(ObjectNumber number) {
    GstElement* pipeline = pipeline_of(number);
    gint64 position = -1;
    if (!pipeline || !gst_element_query_position(pipeline, GST_FORMAT_TIME, &position)) return -1;
    return static_cast<double>(position) / GST_SECOND;
}

// No window of GStreamer's waits for this thread.
void native_idle(int ms) { g_usleep(static_cast<gulong>(ms) * 1000); }

void native_watch(ObjectNumber number) { watched.push_back(GST_ELEMENT(gst_object_ref(pipeline_of(number)))); }

int native_alive() {
    int alive = 0;
    std::erase_if(watched, [&](GstElement* pipeline) {
        const bool shared = GST_OBJECT_REFCOUNT_VALUE(pipeline) > 1;
        if (!shared) gst_object_unref(pipeline);
        alive += shared;
        return !shared;
    });
    return alive;
}
