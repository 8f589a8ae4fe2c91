// Loading and releasing movies: a playbin per movie, stopped at its start
// once loaded; the video size.
#include <gst/gst.h>

#include <mutex>
#include <string>

#include "runtime/file/path_bytes.h"
#include "runtime/media/gst/movie_record.h"
#include "runtime/media/gst/sound_sink.h"
#include "runtime/media/media.h"

namespace {

// Long enough for a slow disk; a file that cannot be played fails sooner.
constexpr GstClockTime STATE_TIMEOUT = 10 * GST_SECOND;

void release(GstElement* playbin) {
    gst_element_set_state(playbin, GST_STATE_NULL);
    gst_object_unref(playbin);
}

// The file's URI; a relative path is taken from the current folder, as
// the native file functions take it. Empty when there is no path.
std::string uri_of(const char16_t* path) {
    const std::string name = path_bytes_of(path);
    if (name.empty()) return {};
    gchar* absolute = g_canonicalize_filename(name.c_str(), nullptr);
    gchar* uri = g_filename_to_uri(absolute, nullptr, nullptr);
    std::string result = uri ? uri : "";
    g_free(uri);
    g_free(absolute);
    return result;
}

// The element that places the sound between left and right: it only ever
// lowers the other side, as a balance control does.
GstElement* balance_filter() {
    GstElement* panorama = gst_element_factory_make("audiopanorama", nullptr);
    if (panorama) gst_util_set_object_arg(G_OBJECT(panorama), "method", "simple");
    return panorama;
}

// The playbin of a file, paused at its start; nullptr when it cannot play.
GstElement* load(const char16_t* path, GstElement** balance) {
    const std::string uri = uri_of(path);
    if (uri.empty()) return nullptr;
    GstElement* playbin = gst_element_factory_make("playbin", nullptr);
    *balance = playbin ? balance_filter() : nullptr;
    if (playbin) g_object_set(playbin, "uri", uri.c_str(), "audio-filter", *balance, nullptr);
    // Into the output the sound check opened, not one playbin picks apart.
    if (GstElement* output = playbin ? sound_sink_make() : nullptr) g_object_set(playbin, "audio-sink", output, nullptr);
    if (playbin && !movie_pipeline_state(playbin, GST_STATE_PAUSED)) {
        release(playbin);
        playbin = nullptr;
    }
    return playbin;
}

int video_size(ObjectNumber number, const char* dimension) {
    ObjectTable<MovieRecord>* movies = movie_table();
    MovieRecord* movie = movies ? movies->find(number) : nullptr;
    if (!movie) return -1;
    GstPad* pad = nullptr;
    g_signal_emit_by_name(movie->playbin, "get-video-pad", 0, &pad);
    if (!pad) return -1;
    GstCaps* caps = gst_pad_get_current_caps(pad);
    int size = -1;
    if (caps && !gst_structure_get_int(gst_caps_get_structure(caps, 0), dimension, &size)) size = -1;
    if (caps) gst_caps_unref(caps);
    gst_object_unref(pad);
    return size;
}

}  // namespace

bool movie_pipeline_state(GstElement* playbin, GstState state) {
    if (gst_element_set_state(playbin, state) == GST_STATE_CHANGE_FAILURE) return false;
    GstState reached = GST_STATE_VOID_PENDING;
    const GstStateChangeReturn result = gst_element_get_state(playbin, &reached, nullptr, STATE_TIMEOUT);
    return (result == GST_STATE_CHANGE_SUCCESS || result == GST_STATE_CHANGE_NO_PREROLL) && reached == state;
}

std::intptr_t movie_load(ObjectNumber number, const char16_t* path) {
    ObjectTable<MovieRecord>* movies = movie_table();
    if (!movies) return 0;
    std::lock_guard guard(movies->lock());
    MovieRecord* movie = movies->acquire(number);
    if (!movie) return 0;
    const ObjectNumber id = movies->number_of(movie);
    GstElement* balance = nullptr;
    GstElement* playbin = load(path, &balance);
    if (!playbin) {
        movies->release(id);
        return 0;
    }
    movie->playbin = playbin;
    movie->balance = balance;
    movie->state = MOVIE_STOPPED;
    return number == DYNAMIC_ID ? id : reinterpret_cast<std::intptr_t>(playbin);
}

void movie_free(ObjectNumber number) {
    ObjectTable<MovieRecord>* movies = movie_table();
    if (!movies) return;
    if (number == -1) {
        movies->release_all();
        return;
    }
    std::lock_guard guard(movies->lock());
    MovieRecord* movie = movies->find(number);
    if (!movie) return;
    release(movie->playbin);
    movies->release(number);
}

int movie_video_width(ObjectNumber number) { return video_size(number, "width"); }
int movie_video_height(ObjectNumber number) { return video_size(number, "height"); }
