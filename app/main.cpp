// Program entry: start the runtime, set up the application, run the main loop
// until the main window's close is accepted, then end the runtime in reverse.
#include "app/app_state.h"
#include "app/playback.h"
#include "app/main_window.h"
#include "app/playlist_file.h"
#include "app/startup.h"
#include "runtime/core/heap.h"
#include "runtime/core/runtime_steps.h"
#include "runtime/gui/requester.h"
#include "runtime/media/media.h"

namespace {
Heap* private_heap = nullptr;

[[noreturn]] void EndProgram() {
    // Texts live in the text heap, which the runtime's end destroys.
    app.playlist_path = nullptr;
    app.version_text = nullptr;
    app.current_song_path = nullptr;
    list_free(app.playlist_store.list);
    runtime_end();  // ends sound and media too
    heap_destroy(private_heap);
    process_exit(0);
}
// Playback needs a sound device and the media layer; without them the
// program still edits playlists.
void CheckMediaAvailable() {
    bool available = sound_init() != 0 && movie_init() != 0;
    if (!available) {
        requester_message(u"No sound available!",
                          u"Unfortunately your sound environment is not present or a codec is missing!\r\n"
                          u"You'll need a working audio device to play sound as well as correct codecs.",
                          64);
    }
    SetMediaAvailable(available);
}
}  // namespace

int main() {
    private_heap = heap_create(4096);
    if (!runtime_start()) EndProgram();
    CheckMediaAvailable();
    InitApplicationState();
    OpenMainWindow();
    OpenGivenPlaylist();
    RunMainLoop();
    EndProgram();
}
