#include "tests/scenario/desktop.h"

#include <vector>

namespace {

// The message box's icon control, the same on Windows and Wine.
constexpr int BOX_ICON_ID = 1088;

INPUT mouse_input(DWORD flags, LONG dx = 0, LONG dy = 0) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = dy;
    input.mi.dwFlags = flags;
    return input;
}

}  // namespace

Box wait_for_box(const ProgramProcess& program, DWORD timeout_ms) {
    Box box;
    box.dialog = program.wait_for_window(L"#32770", timeout_ms);
    if (!box.dialog) return box;
    box.title = window_text(box.dialog);
    // Wait for the dialog's controls: the box may still be filling itself.
    wait_until([&] {
        for (HWND child : child_windows(box.dialog)) {
            if (class_name(child) != L"Static" || GetDlgCtrlID(child) == BOX_ICON_ID) continue;
            std::wstring text = window_text(child);
            if (!text.empty()) box.text = text;
        }
        return !box.text.empty();
    }, 2000);
    // The icon control is there in every box; only its picture tells.
    DWORD_PTR icon = 0;
    if (HWND control = GetDlgItem(box.dialog, BOX_ICON_ID))
        SendMessageTimeoutW(control, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 5000, &icon);
    box.has_icon = icon != 0;
    return box;
}

bool has_button(HWND dialog, int button_id) {
    HWND button = GetDlgItem(dialog, button_id);
    return button && IsWindowVisible(button) && class_name(button) == L"Button";
}

bool press_button(HWND dialog, int button_id) {
    HWND button = nullptr;
    if (!wait_until([&] { return (button = GetDlgItem(dialog, button_id)) != nullptr; }, 5000)) return false;
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) != 0;
}

bool answer_box(HWND dialog, int button_id) {
    return press_button(dialog, button_id) && wait_until([&] { return !IsWindow(dialog); }, 5000);
}

StartUpBoxes answer_start_up_boxes(const ProgramProcess& program) {
    StartUpBoxes seen;
    for (int box_number = 0; box_number < 3 && !seen.notice_seen; ++box_number) {
        Box box = wait_for_box(program, 20000);
        if (!box.dialog) break;
        if (box.title == L"No sound available!") {
            ++seen.no_sound_boxes;
        } else if (box.title == L"Information on TESTING version") {
            seen.notice_seen = true;
        }
        if (!answer_box(box.dialog, IDOK)) break;
    }
    return seen;
}

RunningProgram::RunningProgram(const std::vector<std::wstring>& environment, const std::wstring& program,
                               const std::vector<std::wstring>& arguments)
    : process(program, environment, arguments) {
    if (!process.started()) return;
    start_up = answer_start_up_boxes(process);
    if (!start_up.notice_seen) return;
    // The window shows for a moment while it is opened, before it is hidden to
    // be filled: wait until it is shown with its list.
    HWND shown = nullptr;
    if (wait_until([&] {
            shown = process.wait_for_main_window(0);
            return shown && FindWindowExW(shown, nullptr, L"ListBox", nullptr);
        }, 15000))
        main_window = shown;
}

void mouse_move(POINT screen) {
    // Absolute input counts in 65536ths of the screen; round up so that the
    // system's rounding down lands on the wanted pixel.
    const LONG width = GetSystemMetrics(SM_CXSCREEN);
    const LONG height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input = mouse_input(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, (screen.x * 65536 + width - 1) / width,
                              (screen.y * 65536 + height - 1) / height);
    SendInput(1, &input, sizeof input);
    wait_until([&] {
        POINT now{};
        GetCursorPos(&now);
        return now.x == screen.x && now.y == screen.y;
    }, 1000);
}

void mouse_button(bool down) {
    INPUT input = mouse_input(down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
    SendInput(1, &input, sizeof input);
}

void click_at(POINT screen) {
    mouse_move(screen);
    Sleep(50);
    mouse_button(true);
    Sleep(50);
    mouse_button(false);
    Sleep(50);
}

SIZE client_size(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    return {r.right - r.left, r.bottom - r.top};
}

RECT rect_in_parent(HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

POINT centre_on_screen(HWND hwnd, RECT client_rect) {
    POINT centre{(client_rect.left + client_rect.right) / 2, (client_rect.top + client_rect.bottom) / 2};
    ClientToScreen(hwnd, &centre);
    return centre;
}

std::vector<unsigned long> screen_pixels(RECT area) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return {};
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP copy = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, copy);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    const auto* pixels = static_cast<const DWORD*>(bits);
    std::vector<unsigned long> shown(pixels, pixels + width * height);
    for (unsigned long& pixel : shown) pixel &= 0xFFFFFF;
    SelectObject(memory, old);
    DeleteObject(copy);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return shown;
}

RemoteBuffer::RemoteBuffer(HANDLE process, SIZE_T size) : process_(process) {
    address_ = VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

RemoteBuffer::~RemoteBuffer() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
}

bool RemoteBuffer::write(const void* data, SIZE_T size, SIZE_T offset) {
    SIZE_T done = 0;
    return address_ && WriteProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, &done) &&
           done == size;
}

bool RemoteBuffer::read(void* data, SIZE_T size, SIZE_T offset) const {
    SIZE_T done = 0;
    return address_ && ReadProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, &done) &&
           done == size;
}
