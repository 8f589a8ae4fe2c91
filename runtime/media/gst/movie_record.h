// The GStreamer movie table, private to the media files.
#pragma once

#include <gst/gst.h>

#include "runtime/core/object_table.h"

struct MovieRecord {
    GstElement* playbin;  // the playback pipeline; null = entry free
    GstElement* balance;  // its audio filter between left and right (the playbin owns it), or none
    int state;            // MOVIE_PAUSED, MOVIE_PLAYING or MOVIE_STOPPED
};

// The table; nullptr unless the media layer is started.
ObjectTable<MovieRecord>* movie_table();
// Moves the pipeline to a state and waits until it is there; false on failure.
bool movie_pipeline_state(GstElement* playbin, GstState state);
