// What the media engine does with the program's movie 0, read from the engine
// itself (a DirectShow graph on Windows, a GStreamer playbin on Linux), and
// the toolbar's buttons as they are shown; each back end's own, in
// tests/app/win32/ and tests/app/gtk/.
#pragma once

#include <string>

enum class EngineState { none, stopped, paused, running };

// The engine's own state once its transition has finished; none without movie 0.
EngineState engine_state();
// The file movie 0 was loaded from; empty without movie 0.
std::u16string playing_path();
// The level the song's sound was given, in hundredths of a decibel; 1
// without movie 0.
long song_level();
// Movie 0's record and its engine, to tell whether a song went on or was
// loaded anew; nullptr without movie 0.
const void* song_record();
const void* song_engine();
// Where the song stands and how long it is, in the engine's units; -1 when
// it does not say.
long long song_position();
long long song_duration();

// The toolbar button shows itself pressed in.
bool pressed(int button);
