// The media layer: the shared DirectDraw object, which tells that the display
// side of video playback is usable, COM for the calling thread, and the movie
// table.
#include <windows.h>
#include <ddraw.h>

#include "runtime/media/dshow/movie_record.h"
#include "runtime/media/media.h"

namespace {

using DirectDrawCreateExFn = HRESULT(WINAPI*)(GUID*, LPVOID*, REFIID, IUnknown*);

// {15E65EC0-3B9C-11D2-B92F-00609797EA5B}
constexpr GUID DIRECT_DRAW_7 = {0x15e65ec0, 0x3b9c, 0x11d2, {0xb9, 0x2f, 0x00, 0x60, 0x97, 0x97, 0xea, 0x5b}};

struct MediaLayer {
    HMODULE library = nullptr;
    IUnknown* display = nullptr;
    int uses = 0;  // successful movie_init calls not yet ended
    // CoInitialize can refuse a thread already in another apartment; COM is
    // usable then, but CoUninitialize must not be called for it.
    int com_inits = 0;
};
MediaLayer layer;

bool create_display() {
    layer.library = LoadLibraryW(L"DDRAW.DLL");
    if (!layer.library) return false;
    auto create = reinterpret_cast<DirectDrawCreateExFn>(
        reinterpret_cast<void*>(GetProcAddress(layer.library, "DirectDrawCreateEx")));
    void* display = nullptr;
    if (!create || FAILED(create(nullptr, &display, DIRECT_DRAW_7, nullptr))) {
        FreeLibrary(layer.library);
        layer.library = nullptr;
        return false;
    }
    layer.display = static_cast<IUnknown*>(display);
    return true;
}

}  // namespace

std::intptr_t movie_init() {
    if (!layer.display && !create_display()) return 0;
    ++layer.uses;
    movie_table_create();
    if (SUCCEEDED(CoInitialize(nullptr))) ++layer.com_inits;
    return reinterpret_cast<std::intptr_t>(layer.display);
}

void movie_end() {
    if (layer.uses == 0) return;
    movie_free(-1);
    if (--layer.uses == 0) {
        movie_table_destroy();
        layer.display->Release();
        layer.display = nullptr;
        FreeLibrary(layer.library);
        layer.library = nullptr;
    }
    if (layer.com_inits > 0) {
        --layer.com_inits;
        CoUninitialize();
    }
}
