// Playing a loaded movie: start, pause, resume, stop, volume and balance, and
// the native video size.
#include "runtime/media/dshow/movie_record.h"
#include "runtime/media/media.h"
#include "runtime/media/volume_table.h"

namespace {
// A child window that does not paint over its siblings.
constexpr long VIDEO_CHILD_STYLE = WS_CHILD | WS_CLIPSIBLINGS;  // 0x44000000
}  // namespace

int movie_play(ObjectNumber movie, std::intptr_t owner) {
    MovieRecord* m = movie_find(movie);
    if (!m || owner == -1) return 0;
    movie_stop(movie);
    // For a file without video these calls fail without effect.
    OAHWND current = 0;
    m->video_window->get_Owner(&current);
    if (current != static_cast<OAHWND>(owner)) {
        m->video_window->put_Owner(static_cast<OAHWND>(owner));
        m->video_window->put_WindowStyle(VIDEO_CHILD_STYLE);
    }
    m->video_window->put_Visible(OATRUE);
    m->control->Run();
    m->state = MOVIE_PLAYING;
    return 1;
}

void movie_pause(ObjectNumber movie) {
    MovieRecord* m = movie_find(movie);
    if (!m || m->state != MOVIE_PLAYING) return;
    m->control->Pause();
    m->state = MOVIE_PAUSED;
}

void movie_resume(ObjectNumber movie) {
    MovieRecord* m = movie_find(movie);
    if (!m || m->state != MOVIE_PAUSED) return;
    m->control->Run();
    m->state = MOVIE_PLAYING;
}

void movie_stop(ObjectNumber movie) {
    MovieRecord* m = movie_find(movie);
    if (!m || !m->control || !m->seeking) return;
    m->control->Stop();
    LONGLONG start = 0;
    m->seeking->SetPositions(&start, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
    m->state = MOVIE_STOPPED;
}

void movie_volume_set(ObjectNumber movie, int volume, int balance) {
    volume_table();  // built on the first call, whether or not the movie exists
    MovieRecord* m = movie_find(movie);
    if (!m || !m->audio) return;
    m->audio->put_Volume(volume_level(volume));
    m->audio->put_Balance(balance_level(balance));
}

int movie_video_width(ObjectNumber movie) {
    MovieRecord* m = movie_find(movie);
    long width = 0;
    if (!m || !m->video || FAILED(m->video->get_VideoWidth(&width))) return -1;
    return static_cast<int>(width);
}

int movie_video_height(ObjectNumber movie) {
    MovieRecord* m = movie_find(movie);
    long height = 0;
    if (!m || !m->video || FAILED(m->video->get_VideoHeight(&height))) return -1;
    return static_cast<int>(height);
}
