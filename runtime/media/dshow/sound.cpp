// The sound device check: DirectSound, loaded at run time, bound to a hidden
// window and asked for its primary buffer. The sound table holds no sounds the
// program makes; it exists so that sound_end has one release path.
#include <windows.h>
// WIN32_LEAN_AND_MEAN leaves out the wave format types dsound.h needs.
#include <mmsystem.h>
#include <dsound.h>

#include <optional>

#include "runtime/media/media.h"

namespace {

constexpr wchar_t HIDDEN_WINDOW_CLASS[] = L"MultimediaBase Class";

using DirectSoundCreateFn = HRESULT(WINAPI*)(LPCGUID, LPDIRECTSOUND*, LPUNKNOWN);

struct SoundRecord {
    IDirectSoundBuffer* buffer;  // the record's handle
};

struct SoundService {
    std::optional<ObjectTable<SoundRecord>> sounds;
    ATOM window_class = 0;
    HWND window = nullptr;  // never shown: only the window the device is bound to
    HMODULE library = nullptr;
    IDirectSound* device = nullptr;
    IDirectSoundBuffer* primary = nullptr;
};
SoundService service;

void release_sound(ObjectNumber number) {
    if (SoundRecord* record = service.sounds->find(number)) {
        record->buffer->Release();
        service.sounds->release(number);
    }
}

bool ensure_hidden_window() {
    if (service.window) return true;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!service.window_class) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = instance;
        wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        wc.lpszClassName = HIDDEN_WINDOW_CLASS;
        service.window_class = RegisterClassExW(&wc);
        if (!service.window_class) return false;
    }
    service.window = CreateWindowExW(0, HIDDEN_WINDOW_CLASS, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                     instance, nullptr);
    return service.window != nullptr;
}

bool create_device() {
    if (!service.library) service.library = LoadLibraryW(L"DSOUND.DLL");
    if (!service.library) return false;
    auto create = reinterpret_cast<DirectSoundCreateFn>(
        reinterpret_cast<void*>(GetProcAddress(service.library, "DirectSoundCreate")));
    if (!create || FAILED(create(nullptr, &service.device, nullptr))) {
        service.device = nullptr;
        return false;
    }
    return true;
}

bool create_primary_buffer() {
    DSBUFFERDESC description{};
    // 36 bytes on 32-bit Windows; the structure's own size on every target.
    description.dwSize = sizeof(description);
    description.dwFlags = DSBCAPS_PRIMARYBUFFER;
    if (FAILED(service.device->CreateSoundBuffer(&description, &service.primary, nullptr))) {
        service.primary = nullptr;
        return false;
    }
    return true;
}

}  // namespace

std::intptr_t sound_init() {
    if (!service.sounds) service.sounds.emplace(64, release_sound);
    if (!ensure_hidden_window()) return 0;
    if (!service.device) {
        if (!create_device()) return 0;
        // Without the cooperative level or the primary buffer the device is of
        // no use; dropping it lets a later call try again from the start.
        if (FAILED(service.device->SetCooperativeLevel(service.window, DSSCL_PRIORITY)) ||
            !create_primary_buffer()) {
            service.device->Release();
            service.device = nullptr;
            return 0;
        }
    }
    return reinterpret_cast<std::intptr_t>(&*service.sounds);
}

void sound_end() {
    if (service.sounds) {
        service.sounds->release_all();
        service.sounds.reset();
    }
    // Every object of the library goes before the library itself.
    if (service.primary) service.primary->Release();
    if (service.device) service.device->Release();
    service.primary = nullptr;
    service.device = nullptr;
    if (service.library) FreeLibrary(service.library);
    service.library = nullptr;
    if (service.window) DestroyWindow(service.window);
    service.window = nullptr;
    if (service.window_class) UnregisterClassW(HIDDEN_WINDOW_CLASS, GetModuleHandleW(nullptr));
    service.window_class = 0;
}
