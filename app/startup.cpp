#include "app/startup.h"

#include "app/app_state.h"
#include "runtime/gui/toolbar.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/window.h"

AppState app;

void InitApplicationState() {
    app.is_saved = 1;
    app.playlist_path = nullptr;
    app.version_text = TextBuild(u"V 0.") + 5 + u"." + 206;
    list_free(app.playlist_store.list);
    static constexpr std::size_t entry_texts[] = {offsetof(PlaylistEntry, player_path),
                                                  offsetof(PlaylistEntry, local_path)};
    static constexpr ElementLayout entry_layout{entry_texts, 2};
    list_new(sizeof(PlaylistEntry), &app.playlist_store, &entry_layout);
    app.volume = 75;
    app.is_playing = 0;
    app.is_paused = 0;
}

void FitListToWindow() {
    gadget_resize(PLAYLIST_GADGET, IGNORE_VALUE, IGNORE_VALUE, window_width(MAIN_WINDOW) - 10,
                  window_height(MAIN_WINDOW) - toolbar_height(MAIN_TOOLBAR) - 10);
}
