// The floor of the start-up benchmark: the platform work the program's start
// must do, with none of its runtime. It carries the program's resources (icon
// and manifest, so version 6 of the common controls), checks sound and video
// as the program does (DirectSound bound to a hidden window with its primary
// buffer, then DirectDraw 7), shows the program's boxes (the no-sound box only
// when that check fails, then the testing notice), and shows one window with
// a toolbar of 15 image buttons and a list box. The images are plain 16 x 16
// DIBs drawn here, not the program's PNG icons: decoding those is the
// program's own work.
#include <windows.h>
#include <commctrl.h>
// dsound.h needs the wave format types.
#include <mmsystem.h>
#include <dsound.h>
#include <ddraw.h>

#include <iterator>

namespace {

constexpr wchar_t no_sound_title[] = L"No sound available!";
constexpr wchar_t no_sound_text[] =
    L"Unfortunately your sound environment is not present or a codec is missing!\r\n"
    L"You'll need a working audio device to play sound as well as correct codecs.";
constexpr wchar_t notice_title[] = L"Information on TESTING version";
constexpr wchar_t notice_text[] =
    L"Please keep in mind: this is a testing version. \r\n"
    L"Some functionality may not work as you might expect.\r\n\r\n"
    L"Known issues:\r\n"
    L"Songs in Tunelathe can only be played, if the songs are dropped onto a newly created playlist.\r\n"
    L"Loaded playlists can not be played at the moment - please be patient. I'm working on it!"
    L"Thank you for testing and using Tunelathe!";

constexpr int IMAGE_SIZE = 16;
constexpr int IMAGE_COUNT = 15;
constexpr int SEPARATOR = -1;
// The program's toolbar: image per place, separators where it has them.
constexpr int toolbar_images[] = {0, 1, 2, 3, SEPARATOR, 4, 5, 6, 8, SEPARATOR, 9, 10, 11, 13, 12, SEPARATOR,
                                  14, SEPARATOR, 7};
// The program's list box styles: both scroll bars, notify, strings, no integral height.
constexpr DWORD LIST_STYLE = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_GROUP | WS_TABSTOP | LBS_NOTIFY |
                             LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT;
constexpr COLORREF WINDOW_COLOUR = RGB(0x70, 0x80, 0x90);

// What the sound and video check holds while the program runs.
struct Media {
    HWND sound_window = nullptr;
    HMODULE dsound = nullptr;
    IDirectSound* device = nullptr;
    IDirectSoundBuffer* primary = nullptr;
    HMODULE ddraw = nullptr;
    IUnknown* display = nullptr;
};

template <class Function>
Function library_function(HMODULE library, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

bool sound_available(HINSTANCE instance, Media& media) {
    WNDCLASSEXW sound_class{};
    sound_class.cbSize = sizeof sound_class;
    sound_class.lpfnWndProc = DefWindowProcW;
    sound_class.hInstance = instance;
    sound_class.lpszClassName = L"StartupFloorSound";
    if (!RegisterClassExW(&sound_class)) return false;
    media.sound_window = CreateWindowExW(0, sound_class.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                         instance, nullptr);
    if (!media.sound_window) return false;
    media.dsound = LoadLibraryW(L"DSOUND.DLL");
    if (!media.dsound) return false;
    using Create = HRESULT(WINAPI*)(LPCGUID, LPDIRECTSOUND*, LPUNKNOWN);
    auto create = library_function<Create>(media.dsound, "DirectSoundCreate");
    if (!create || FAILED(create(nullptr, &media.device, nullptr))) return false;
    if (FAILED(media.device->SetCooperativeLevel(media.sound_window, DSSCL_PRIORITY))) return false;
    DSBUFFERDESC description{};
    description.dwSize = sizeof description;
    description.dwFlags = DSBCAPS_PRIMARYBUFFER;
    return SUCCEEDED(media.device->CreateSoundBuffer(&description, &media.primary, nullptr));
}

bool video_available(Media& media) {
    media.ddraw = LoadLibraryW(L"DDRAW.DLL");
    if (!media.ddraw) return false;
    using Create = HRESULT(WINAPI*)(GUID*, LPVOID*, REFIID, IUnknown*);
    auto create = library_function<Create>(media.ddraw, "DirectDrawCreateEx");
    void* display = nullptr;
    if (!create || FAILED(create(nullptr, &display, IID_IDirectDraw7, nullptr))) return false;
    media.display = static_cast<IUnknown*>(display);
    return true;
}

void release(Media& media) {
    if (media.display) media.display->Release();
    if (media.ddraw) FreeLibrary(media.ddraw);
    if (media.primary) media.primary->Release();
    if (media.device) media.device->Release();
    if (media.dsound) FreeLibrary(media.dsound);
    if (media.sound_window) DestroyWindow(media.sound_window);
}

// Fifteen opaque 16 x 16 pictures side by side: a frame and a filled square,
// each in its own colour.
HBITMAP toolbar_strip() {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = IMAGE_SIZE * IMAGE_COUNT;
    info.bmiHeader.biHeight = -IMAGE_SIZE;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP strip = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!strip) return nullptr;
    auto* pixels = static_cast<DWORD*>(bits);
    for (int y = 0; y < IMAGE_SIZE; ++y) {
        for (int x = 0; x < IMAGE_SIZE * IMAGE_COUNT; ++x) {
            const int image = x / IMAGE_SIZE, u = x % IMAGE_SIZE;
            const bool frame = u == 0 || u == IMAGE_SIZE - 1 || y == 0 || y == IMAGE_SIZE - 1;
            const bool inside = u >= 4 && u < 12 && y >= 4 && y < 12;
            const DWORD colour = 0xFF000080u | static_cast<DWORD>(image * 17) << 16 | static_cast<DWORD>(255 - image * 17) << 8;
            pixels[y * IMAGE_SIZE * IMAGE_COUNT + x] = frame ? 0xFF202020u : inside ? colour : 0xFFF0F0F0u;
        }
    }
    return strip;
}

bool add_toolbar(HWND window, HINSTANCE instance, HIMAGELIST images) {
    HWND toolbar = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS,
                                   0, 0, 0, 0, window, nullptr, instance, nullptr);
    if (!toolbar) return false;
    SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    TBBUTTON buttons[std::size(toolbar_images)]{};
    for (std::size_t place = 0; place < std::size(toolbar_images); ++place) {
        const bool separator = toolbar_images[place] == SEPARATOR;
        buttons[place].iBitmap = separator ? 0 : toolbar_images[place];
        buttons[place].idCommand = separator ? 0 : static_cast<int>(place) + 1;
        buttons[place].fsState = TBSTATE_ENABLED;
        buttons[place].fsStyle = separator ? BTNS_SEP : BTNS_BUTTON;
    }
    if (!SendMessageW(toolbar, TB_ADDBUTTONSW, std::size(buttons), reinterpret_cast<LPARAM>(buttons))) return false;
    SendMessageW(toolbar, TB_AUTOSIZE, 0, 0);
    return true;
}

LRESULT CALLBACK window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
}

// The main window, filled while hidden and then shown.
HWND open_window(HINSTANCE instance, HIMAGELIST images) {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.style = CS_DBLCLKS;
    window_class.lpfnWndProc = window_proc;
    window_class.hInstance = instance;
    window_class.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = CreateSolidBrush(WINDOW_COLOUR);
    window_class.lpszClassName = L"StartupFloor";
    if (!RegisterClassExW(&window_class)) return nullptr;

    constexpr DWORD style = WS_OVERLAPPEDWINDOW;
    RECT outer{0, 0, 830, 620};
    AdjustWindowRectEx(&outer, style, FALSE, 0);
    const int width = outer.right - outer.left, height = outer.bottom - outer.top;
    HWND window = CreateWindowExW(0, window_class.lpszClassName, L"Start-up floor", style,
                                  (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                                  (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, nullptr, nullptr,
                                  instance, nullptr);
    if (!window) return nullptr;
    HWND list = add_toolbar(window, instance, images)
                    ? CreateWindowExW(WS_EX_CLIENTEDGE, L"ListBox", L"", LIST_STYLE, 5, 30, 820, 585, window,
                                      nullptr, instance, nullptr)
                    : nullptr;
    if (!list) {
        DestroyWindow(window);
        return nullptr;
    }
    SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    ShowWindow(window, SW_SHOW);
    return window;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES};
    if (!InitCommonControlsEx(&classes)) return 1;

    // As in the program: video is checked only once sound works.
    Media media;
    if (!sound_available(instance, media) || !video_available(media))
        MessageBoxW(nullptr, no_sound_text, no_sound_title, MB_ICONINFORMATION);
    MessageBoxW(nullptr, notice_text, notice_title, MB_OK);

    HIMAGELIST images = ImageList_Create(IMAGE_SIZE, IMAGE_SIZE, ILC_COLOR32, IMAGE_COUNT, 0);
    HBITMAP strip = toolbar_strip();
    if (!images || !strip || ImageList_Add(images, strip, nullptr) != 0) return 1;
    DeleteObject(strip);
    HWND window = open_window(instance, images);
    if (!window) return 1;

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    ImageList_Destroy(images);
    release(media);
    return 0;
}
