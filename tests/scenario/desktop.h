// What a person at the desktop sees and does: boxes read and answered, mouse
// moves and clicks through the system's input queue, window geometry.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/scenario/program_process.h"

// A message box of the program ("#32770").
struct Box {
    HWND dialog = nullptr;
    std::wstring title;
    std::wstring text;  // the box's message
    bool has_icon = false;  // an icon beside the message (any MB_ICON... flag)
};

// The program's first visible box; dialog is nullptr if none came in time.
Box wait_for_box(const ProgramProcess& program, DWORD timeout_ms);
// Waits for the box's button with this id and presses it (BM_CLICK).
bool press_button(HWND dialog, int button_id);
// Presses the button; true once the dialog is gone.
bool answer_box(HWND dialog, int button_id);
// Whether the box has a button with this id (IDYES, IDNO, ...).
bool has_button(HWND dialog, int button_id);

// The boxes the program shows before its main window: "No sound available!"
// when sound cannot start, then the testing notice. Each is answered with OK.
struct StartUpBoxes {
    int no_sound_boxes = 0;
    bool notice_seen = false;
};
StartUpBoxes answer_start_up_boxes(const ProgramProcess& program);

// A program started (by default the build's, with no audio server), its
// start-up boxes answered and its main window shown; main_window is nullptr
// when any step failed.
struct RunningProgram {
    ProgramProcess process;
    StartUpBoxes start_up;
    HWND main_window = nullptr;
    explicit RunningProgram(const std::vector<std::wstring>& environment = no_audio_environment(),
                            const std::wstring& program = tunelathe_path(),
                            const std::vector<std::wstring>& arguments = {});
};

// Mouse through SendInput, so the program receives what a real mouse sends.
void mouse_move(POINT screen);
void mouse_button(bool down);
void click_at(POINT screen);

// Geometry of another process's windows.
SIZE client_size(HWND hwnd);
RECT rect_in_parent(HWND child);  // the child's outer rectangle in its parent's client area
POINT centre_on_screen(HWND hwnd, RECT client_rect);
// What the screen shows in the area, 0x00RRGGBB row after row.
std::vector<unsigned long> screen_pixels(RECT area);

// A block of memory inside another process, for messages that take a pointer.
class RemoteBuffer {
public:
    RemoteBuffer(HANDLE process, SIZE_T size);
    ~RemoteBuffer();
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    bool ok() const { return address_ != nullptr; }
    LPARAM address() const { return reinterpret_cast<LPARAM>(address_); }
    bool write(const void* data, SIZE_T size, SIZE_T offset = 0);
    bool read(void* data, SIZE_T size, SIZE_T offset = 0) const;

private:
    HANDLE process_;
    void* address_ = nullptr;
};

// A message with a pointer argument, answered into a buffer in the target's
// process: the value is copied there first and read back after.
template <class Record>
LRESULT send_with_remote(HANDLE process, HWND hwnd, UINT message, WPARAM wparam, Record& record) {
    RemoteBuffer buffer(process, sizeof(Record));
    if (!buffer.ok() || !buffer.write(&record, sizeof(Record))) return 0;
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(hwnd, message, wparam, buffer.address(), SMTO_ABORTIFHUNG, 5000, &result)) return 0;
    buffer.read(&record, sizeof(Record));
    return static_cast<LRESULT>(result);
}
