#include "app/playback.h"

#include "app/app_state.h"
#include "app/track_finder.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/toolbar.h"
#include "runtime/media/media.h"

namespace {

constexpr ObjectNumber SONG = 0;
bool media_available = false;

// Chooses the entry at index for playback and plays the file the player
// would play for it, found on the disk only now.
void PlayEntry(int index) {
    auto* entry = static_cast<PlaylistEntry*>(list_select(app.playlist_store.list, index));
    app.current_song_path = entry ? FileToPlay(entry->local_path, app.playlist_path.c_str()) : Text();
    if (!app.current_song_path.empty()) PlayFile(app.current_song_path.c_str());
}

void ReleaseSong() {
    movie_stop(SONG);
    movie_free(SONG);
    app.is_playing = 0;
}

}  // namespace

void SetMediaAvailable(bool available) { media_available = available; }

void PlayFile(const char16_t* path) {
    if (!media_available || app.is_playing == 1) return;
    if (!movie_load(SONG, path)) return;
    movie_volume_set(SONG, app.volume, 0);
    movie_play(SONG, 0);
    app.is_playing = 1;
}

void PlaySelectedSong() {
    toolbar_button_state_set(MAIN_TOOLBAR, ToolPlay, 1);
    app.current_index = gadget_state_get(PLAYLIST_GADGET);
    // With nothing selected the first song plays, without highlighting it.
    if (app.current_index == -1) app.current_index = 0;
    PlayEntry(app.current_index);
}

void PlayClickedSong() {
    // The row may have gone before its double click was read: nothing to play.
    if (gadget_state_get(PLAYLIST_GADGET) == -1) return;
    if ((app.is_playing == 1 || app.is_paused == 1) && media_available) ReleaseSong();
    app.is_playing = 0;
    app.is_paused = 0;
    toolbar_button_state_set(MAIN_TOOLBAR, ToolPause, 0);
    PlaySelectedSong();
}

void TogglePause() {
    if (app.is_paused == 0) {
        toolbar_button_state_set(MAIN_TOOLBAR, ToolPause, 1);
        if (media_available) movie_pause(SONG);
        app.is_paused = 1;
    } else {
        toolbar_button_state_set(MAIN_TOOLBAR, ToolPause, 0);
        if (media_available) movie_resume(SONG);
        app.is_paused = 0;
    }
}

void StopSong() {
    toolbar_button_state_set(MAIN_TOOLBAR, ToolPlay, 0);
    toolbar_button_state_set(MAIN_TOOLBAR, ToolPause, 0);
    if (app.is_playing == 1 || app.is_paused == 1) {
        if (media_available) ReleaseSong();
        app.is_playing = 0;
        app.is_paused = 0;
    }
}

void NextSong() {
    app.current_index = gadget_state_get(PLAYLIST_GADGET);
    int count = gadget_item_count(PLAYLIST_GADGET);
    if (app.current_index >= count - 1) return;
    ++app.current_index;
    if ((app.is_playing == 1 || app.is_paused == 1) && media_available) ReleaseSong();
    app.is_playing = 0;
    gadget_state_set(PLAYLIST_GADGET, app.current_index);
    PlayEntry(app.current_index);
}

void PreviousSong() {
    app.current_index = gadget_state_get(PLAYLIST_GADGET);
    if (app.current_index <= 0) return;
    if ((app.is_playing == 1 || app.is_paused == 1) && media_available) ReleaseSong();
    app.is_playing = 0;
    --app.current_index;
    gadget_state_set(PLAYLIST_GADGET, app.current_index);
    PlayEntry(app.current_index);
}
