// The movie table: loading a file into a DirectShow filter graph, releasing
// movies, and the lookups the other movie operations share.
#include <optional>

#include "runtime/media/dshow/movie_record.h"
#include "runtime/media/media.h"
#include "runtime/text/text.h"

namespace {

std::optional<ObjectTable<MovieRecord>> movies;

template <class Interface>
void release(Interface*& pointer) {
    if (pointer) pointer->Release();
    pointer = nullptr;
}

// Releases what the record holds and frees its number.
void discard(ObjectNumber number, MovieRecord& record) {
    release(record.graph);
    release(record.control);
    release(record.events);
    release(record.video_window);
    release(record.audio);
    release(record.video);
    release(record.seeking);
    text_free(&record.path);
    movies->release(number);
}

bool query_interfaces(MovieRecord& m) {
    IGraphBuilder* g = m.graph;
    bool complete = SUCCEEDED(g->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&m.control))) &&
                    SUCCEEDED(g->QueryInterface(IID_IMediaEventEx, reinterpret_cast<void**>(&m.events))) &&
                    SUCCEEDED(g->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(&m.seeking))) &&
                    SUCCEEDED(g->QueryInterface(IID_IVideoWindow, reinterpret_cast<void**>(&m.video_window))) &&
                    SUCCEEDED(g->QueryInterface(IID_IBasicVideo, reinterpret_cast<void**>(&m.video)));
    if (!complete) return false;
    // A graph without an audio level control still plays.
    if (FAILED(g->QueryInterface(IID_IBasicAudio, reinterpret_cast<void**>(&m.audio)))) m.audio = nullptr;
    return true;
}

}  // namespace

void movie_table_create() {
    if (!movies) movies.emplace(16, movie_free);
}

void movie_table_destroy() {
    if (!movies) return;
    movies->release_all();
    movies.reset();
}

MovieRecord* movie_find(ObjectNumber movie) { return movies ? movies->find(movie) : nullptr; }

std::intptr_t movie_load(ObjectNumber movie, const char16_t* path) {
    if (!movies) return 0;
    std::lock_guard guard(movies->lock());
    MovieRecord* m = movies->acquire(movie);  // releases a movie still under that number
    if (!m) return 0;
    ObjectNumber number = movies->number_of(m);
    if (!path || FAILED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                         reinterpret_cast<void**>(&m->graph)))) {
        m->graph = nullptr;
        movies->release(number);  // a dynamic record goes; a numbered slot stays empty
        return 0;
    }
    if (FAILED(m->graph->RenderFile(reinterpret_cast<const wchar_t*>(path), nullptr)) || !query_interfaces(*m)) {
        discard(number, *m);
        return 0;
    }
    m->seeking->SetTimeFormat(&TIME_FORMAT_MEDIA_TIME);
    m->state = MOVIE_STOPPED;
    text_assign(&m->path, path);
    // Fails harmlessly for a file without video.
    m->video_window->SetWindowPosition(0, 0, movie_video_width(number), movie_video_height(number));
    return movie == DYNAMIC_ID ? number : reinterpret_cast<std::intptr_t>(m->graph);
}

void movie_free(ObjectNumber movie) {
    if (!movies) return;
    if (movie == -1) {
        movies->release_all();
        return;
    }
    std::lock_guard guard(movies->lock());
    MovieRecord* m = movies->find_locked(movie);
    if (!m) return;
    movie_stop(movie);
    discard(movie, *m);
}

int movie_state(ObjectNumber movie) {
    MovieRecord* m = movie_find(movie);
    return m ? m->state : 0;
}
