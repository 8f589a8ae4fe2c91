// Playing, pausing, resuming and stopping movies; volume; state.
#include <gst/gst.h>

#include <cmath>
#include <cstdlib>
#include <mutex>

#include "runtime/media/gst/movie_record.h"
#include "runtime/media/media.h"
#include "runtime/media/volume_table.h"

namespace {

MovieRecord* find(ObjectNumber number) {
    ObjectTable<MovieRecord>* movies = movie_table();
    return movies ? movies->find(number) : nullptr;
}

// Back to the start; a flushing seek makes the pipeline preroll again, which
// is waited for, so that the position reads 0 at once.
void rewind(GstElement* playbin) {
    if (gst_element_seek_simple(playbin, GST_FORMAT_TIME, GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_KEY_UNIT),
                                0))
        gst_element_get_state(playbin, nullptr, nullptr, 10 * GST_SECOND);
}

// The balance level lowers the other side by as many hundredths of a
// decibel; the filter lowers it by a linear factor, 1 - |panorama|. The filter
// works ahead of the sound device by the audio it and the sound server hold
// (seconds of it): a new balance drops that, by a flushing seek to where the
// movie is, so that it is heard at once, as a volume change is.
void balance_set(GstElement* playbin, GstElement* filter, int balance) {
    const int side = balance_level(balance);
    const double other_side = std::pow(10.0, -std::abs(side) / 2000.0);
    const auto panorama = static_cast<float>(side < 0 ? other_side - 1.0 : 1.0 - other_side);
    float current = 0;
    g_object_get(filter, "panorama", &current, nullptr);
    if (current == panorama) return;
    g_object_set(filter, "panorama", panorama, nullptr);
    gint64 position = 0;
    if (gst_element_query_position(playbin, GST_FORMAT_TIME, &position))
        gst_element_seek_simple(playbin, GST_FORMAT_TIME, GST_SEEK_FLAG_FLUSH, position);
}

}  // namespace

// A video plays in a window of its own: there is no native window to put it in.
int movie_play(ObjectNumber number, std::intptr_t owner) {
    MovieRecord* movie = find(number);
    if (!movie || owner == -1) return 0;
    rewind(movie->playbin);
    if (!movie_pipeline_state(movie->playbin, GST_STATE_PLAYING)) return 0;
    movie->state = MOVIE_PLAYING;
    return 1;
}

void movie_pause(ObjectNumber number) {
    MovieRecord* movie = find(number);
    if (movie && movie->state == MOVIE_PLAYING && movie_pipeline_state(movie->playbin, GST_STATE_PAUSED))
        movie->state = MOVIE_PAUSED;
}

void movie_resume(ObjectNumber number) {
    MovieRecord* movie = find(number);
    if (movie && movie->state == MOVIE_PAUSED && movie_pipeline_state(movie->playbin, GST_STATE_PLAYING))
        movie->state = MOVIE_PLAYING;
}

void movie_stop(ObjectNumber number) {
    MovieRecord* movie = find(number);
    if (!movie) return;
    movie_pipeline_state(movie->playbin, GST_STATE_PAUSED);
    rewind(movie->playbin);
    movie->state = MOVIE_STOPPED;
}

// The runtime's levels are hundredths of a decibel, -10000 being silence;
// the pipeline's volume is a linear factor.
void movie_volume_set(ObjectNumber number, int volume, int balance) {
    MovieRecord* movie = find(number);
    if (!movie) return;
    const int level = volume_level(volume);
    const double factor = level <= -10000 ? 0.0 : std::pow(10.0, level / 2000.0);
    g_object_set(movie->playbin, "volume", factor, nullptr);
    if (movie->balance) balance_set(movie->playbin, movie->balance, balance);
}

int movie_state(ObjectNumber number) {
    MovieRecord* movie = find(number);
    return movie ? movie->state : 0;
}
