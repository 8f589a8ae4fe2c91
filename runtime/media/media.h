// Media playback: numbered movies (audio or video files) that are loaded,
// started, paused, resumed, stopped, given a volume and balance, and released
// by number; the start-up checks of the sound device and the media layer; a
// millisecond delay.
//
// Movies follow the ObjectTable rules: loading under a number that holds a
// movie releases that movie first; DYNAMIC_ID gives a new number, which
// movie_load returns. Operations on a number without a movie do nothing
// (movie_play returns 0). Movie operations need a successful movie_init; before
// it (or after movie_end) they do nothing and return 0.
//
// Nothing watches for the end of a movie: one that has played to its end stays
// MOVIE_PLAYING until it is paused, stopped or released.
#pragma once

#include <cstdint>

#include "runtime/core/object_table.h"

inline constexpr int MOVIE_PAUSED = 1;
inline constexpr int MOVIE_PLAYING = 2;
inline constexpr int MOVIE_STOPPED = 3;

// Non-zero when a sound device is usable, 0 otherwise. Steps already taken
// stay in place on failure; sound_end undoes them.
std::intptr_t sound_init();
void sound_end();

// Non-zero when media files can be played, 0 otherwise. movie_end releases
// every movie; it ends the layer once per successful movie_init.
std::intptr_t movie_init();
void movie_end();

// Builds the playback graph for the file; the movie is then stopped at its
// start. Result: non-zero (the new number for DYNAMIC_ID) on success; 0 on any
// failure, with no movie left under the number.
std::intptr_t movie_load(ObjectNumber movie, const char16_t* path);
// Starts from the beginning. owner: the native window a video is shown in
// (0 = a window of its own). 1 if started; 0 for no such movie or owner -1.
int movie_play(ObjectNumber movie, std::intptr_t owner);
void movie_pause(ObjectNumber movie);   // only a playing movie
void movie_resume(ObjectNumber movie);  // only a paused movie
void movie_stop(ObjectNumber movie);    // stops and rewinds to the start
void movie_free(ObjectNumber movie);    // -1 releases every movie
// volume 0..100, balance -100 (left) .. 100 (right); clamped, never rejected.
// Ignored for a movie without an audio level control.
void movie_volume_set(ObjectNumber movie, int volume, int balance);
// Native video size; -1 when the movie has no video or the query fails.
int movie_video_width(ObjectNumber movie);
int movie_video_height(ObjectNumber movie);
// MOVIE_PAUSED, MOVIE_PLAYING or MOVIE_STOPPED; 0 when no such movie.
int movie_state(ObjectNumber movie);

// Suspends the calling thread for ms milliseconds (negative counts as 0).
void time_delay(int ms);
