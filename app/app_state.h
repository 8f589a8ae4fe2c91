// The program's state: a handful of process-wide variables that the
// procedures of the playlist application share, and the object numbers it
// gives the runtime.
#pragma once

#include "runtime/core/object_table.h"
#include "runtime/list/list.h"
#include "app/built_text.h"

// Windows, gadgets and the one toolbar.
inline constexpr ObjectNumber MAIN_WINDOW = 0;
inline constexpr ObjectNumber VOLUME_WINDOW = 1;
inline constexpr ObjectNumber PLAYLIST_GADGET = 0;
inline constexpr ObjectNumber VOLUME_SLIDER = 1;
inline constexpr ObjectNumber MAIN_TOOLBAR = 0;

// Toolbar item ids: also the event's menu item.
enum ToolItem : int {
    ToolNewPlaylist = 0,
    ToolOpenPlaylist = 1,
    ToolSavePlaylist = 2,
    ToolSaveAs = 3,
    ToolDeleteTrack = 4,
    ToolMoveUp = 5,
    ToolMoveDown = 6,
    ToolShuffle = 7,
    ToolStop = 8,
    ToolPlay = 9,
    ToolPause = 10,
    ToolNext = 11,
    ToolPrevious = 12,
    ToolVolume = 13,
    ToolHelp = 14,
};

// One track: the path the player sees (shown and saved) and the path on this
// computer (played).
struct PlaylistEntry {
    char16_t* player_path;
    char16_t* local_path;
};

struct AppState {
    int is_saved = 0;
    Text playlist_path;
    Text version_text;
    int volume = 0;
    int is_playing = 0;
    int is_paused = 0;
    int current_index = 0;
    Text current_song_path;
    int close_answer = 0;
    ListOwnerPair playlist_store{};  // list of PlaylistEntry
};

extern AppState app;
