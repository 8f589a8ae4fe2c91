// The DirectShow graph of movie 0 and the COMCTL32 toolbar's checked buttons.
#include "tests/app/playback_probe.h"

#include <windows.h>
#include <commctrl.h>
#include <dshow.h>

#include "app/app_state.h"
#include "runtime/gui/toolbar.h"
#include "runtime/media/dshow/movie_record.h"

EngineState engine_state() {
    MovieRecord* movie = movie_find(0);
    if (!movie) return EngineState::none;
    OAFilterState state = -1;
    for (int i = 0; i < 20; ++i) {
        HRESULT hr = movie->control->GetState(1000, &state);
        if (FAILED(hr)) return EngineState::none;
        if (hr != S_OK) continue;
        if (state == State_Running) return EngineState::running;
        if (state == State_Paused) return EngineState::paused;
        return EngineState::stopped;
    }
    return EngineState::none;
}

std::u16string playing_path() {
    MovieRecord* movie = movie_find(0);
    return movie && movie->path ? movie->path : u"";
}

long song_level() {
    MovieRecord* movie = movie_find(0);
    long level = 1;
    if (!movie || !movie->audio || FAILED(movie->audio->get_Volume(&level))) return 1;
    return level;
}

const void* song_record() { return movie_find(0); }

const void* song_engine() {
    MovieRecord* movie = movie_find(0);
    return movie ? movie->graph : nullptr;
}

long long song_position() {
    MovieRecord* movie = movie_find(0);
    LONGLONG position = -1;
    return movie && SUCCEEDED(movie->seeking->GetCurrentPosition(&position)) ? position : -1;
}

long long song_duration() {
    MovieRecord* movie = movie_find(0);
    LONGLONG duration = -1;
    return movie && SUCCEEDED(movie->seeking->GetDuration(&duration)) ? duration : -1;
}

bool pressed(int button) {
    auto toolbar = reinterpret_cast<HWND>(toolbar_handle(MAIN_TOOLBAR));
    return SendMessageW(toolbar, TB_ISBUTTONCHECKED, static_cast<WPARAM>(button), 0) != 0;
}
