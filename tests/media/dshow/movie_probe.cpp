// The movies' native side under Windows: filter graphs, counted by their
// references.
#include "tests/media/movie_probe.h"

#include <vector>

#include "runtime/media/dshow/movie_record.h"

namespace {

std::vector<IGraphBuilder*> watched;

}  // namespace

const int NATIVE_STOPPED = State_Stopped, NATIVE_PAUSED = State_Paused, NATIVE_PLAYING = State_Running;

std::intptr_t native_movie(ObjectNumber number) {
    const MovieRecord* m = movie_find(number);
    return m ? reinterpret_cast<std::intptr_t>(m->graph) : 0;
}

int native_state(ObjectNumber number) {
    const MovieRecord* m = movie_find(number);
    OAFilterState state = -1;
    // Under load a transition can take a while; VFW_S_STATE_INTERMEDIATE means not yet.
    for (int i = 0; m && i < 20; ++i) {
        const HRESULT hr = m->control->GetState(1000, &state);
        if (hr == S_OK) return static_cast<int>(state);
        if (FAILED(hr)) return -1;
    }
    return -1;
}

double native_position(ObjectNumber number) {
    const MovieRecord* m = movie_find(number);
    LONGLONG position = 0;
    if (!m || FAILED(m->seeking->GetCurrentPosition(&position))) return -1;
    return static_cast<double>(position) / 1e7;
}

void native_idle(int ms) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    Sleep(static_cast<DWORD>(ms));
}

void native_watch(ObjectNumber number) {
    IGraphBuilder* graph = movie_find(number)->graph;
    graph->AddRef();
    watched.push_back(graph);
}

int native_alive() {
    int alive = 0;
    std::erase_if(watched, [&](IGraphBuilder* graph) {
        graph->AddRef();
        const bool shared = graph->Release() > 1;
        if (!shared) graph->Release();
        alive += shared;
        return !shared;
    });
    return alive;
}
