// Program entry: start the runtime, set up the application, run the main loop
// until the main window's close is accepted, then end the runtime in reverse.
#include <windows.h>

#include "app/app_state.h"
#include "app/startup.h"
#include "runtime/core/heap.h"
#include "runtime/core/runtime_steps.h"

AppState app;

namespace {
Heap* private_heap = nullptr;

[[noreturn]] void EndProgram() {
    // Texts live in the text heap, which the runtime's end destroys.
    app.playlist_path.clear();
    app.version_text.clear();
    app.current_song_path.clear();
    list_free(app.playlist_store.list);
    runtime_end();
    heap_destroy(private_heap);
    ExitProcess(0);
}
}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    private_heap = heap_create(4096);
    if (!runtime_start()) EndProgram();
    InitApplicationState();
    OpenMainWindow();
    RunMainLoop();
    EndProgram();
}
