// What the DirectShow movie files share: the record of one loaded movie and
// access to the movie table.
#pragma once

#include <windows.h>
#include <dshow.h>

#include "runtime/core/object_table.h"

struct MovieRecord {
    IGraphBuilder* graph;  // the record's handle: set while the movie exists
    IMediaControl* control;
    IMediaEventEx* events;  // obtained at load, never read
    IVideoWindow* video_window;
    IBasicAudio* audio;  // absent for a graph without an audio level control
    IBasicVideo* video;
    IMediaSeeking* seeking;
    int state;  // MOVIE_PAUSED, MOVIE_PLAYING or MOVIE_STOPPED
    char16_t* path;  // own copy of the loaded file name
};

// The movie table exists from a successful movie_init to the movie_end that
// ends the layer.
void movie_table_create();
void movie_table_destroy();  // releases every movie first

// The live record of a number, or nullptr (also when there is no table).
MovieRecord* movie_find(ObjectNumber movie);
