// The media layer's start and end: GStreamer, and the movie table.
#include <gst/gst.h>

#include <optional>

#include "runtime/media/gst/movie_record.h"
#include "runtime/media/media.h"

namespace {

std::optional<ObjectTable<MovieRecord>> movies;
int starts = 0;  // successful movie_init calls not yet ended

}  // namespace

ObjectTable<MovieRecord>* movie_table() { return movies ? &*movies : nullptr; }

// Media files play when GStreamer starts and has its playback pipeline.
std::intptr_t movie_init() {
    if (!gst_init_check(nullptr, nullptr, nullptr)) return 0;
    GstElementFactory* playbin = gst_element_factory_find("playbin");
    if (!playbin) return 0;
    gst_object_unref(playbin);
    if (!movies) movies.emplace(16, movie_free);
    ++starts;
    return 1;
}

void movie_end() {
    if (starts == 0) return;
    movie_free(-1);
    if (--starts == 0) movies.reset();
}
