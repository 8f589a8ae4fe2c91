// The output the sound check found, for the movies' pipelines. Private to
// the media files.
#pragma once

#include <gst/gst.h>

// A new sink of the kind the last successful sound_init opened; nullptr
// before one, when playbin chooses by itself.
GstElement* sound_sink_make();
