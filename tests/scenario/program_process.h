// Drives a real program as a separate process, the way a person at the
// desktop would: start it, find its windows, answer its boxes, close it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/window_lists.h"
#include "tests/support/wine_path.h"

// The program under test, as a Windows path.
std::wstring tunelathe_path();

// A program that something else started, such as a script: the executable's
// file name (L"tunelathe.exe") and how long to wait for it to appear.
struct StartedElsewhere {
    const wchar_t* executable;
    DWORD timeout_ms;
};

class ProgramProcess {
public:
    // Starts the program with the arguments (each passed whole, as a file
    // manager passes a file); extra_environment holds "NAME=value" entries
    // added to (or replacing) this process's own.
    explicit ProgramProcess(const std::wstring& program = tunelathe_path(),
                            const std::vector<std::wstring>& extra_environment = {},
                            const std::vector<std::wstring>& arguments = {});
    // Takes the first process running that executable, once one appears;
    // started() is false when none came in time.
    explicit ProgramProcess(StartedElsewhere program);
    ~ProgramProcess();  // ends it if it is still running
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;

    bool started() const { return process_ != nullptr; }
    DWORD id() const { return id_; }
    DWORD main_thread_id() const { return main_thread_id_; }
    HANDLE handle() const { return process_; }

    // The program's top-level windows of a class ("#32770" for boxes).
    std::vector<HWND> windows(const wchar_t* class_name, bool visible_only = true) const;
    // Waits up to timeout_ms for a visible window of that class; nullptr if none came.
    HWND wait_for_window(const wchar_t* class_name, DWORD timeout_ms) const;
    // The main window: the runtime's window class of window 0.
    HWND wait_for_main_window(DWORD timeout_ms) const { return wait_for_window(L"WindowClass_0", timeout_ms); }

    // Waits for the process to end; returns its exit code, or -1 on time-out.
    long wait_for_exit(DWORD timeout_ms);

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
    DWORD main_thread_id_ = 0;
};

// Environment for a program that must find no audio server: an explicit
// address where none listens also keeps the sound library from starting one.
std::vector<std::wstring> no_audio_environment();

// A window's text, asked for with WM_GETTEXT (marshalled across processes).
std::wstring window_text(HWND hwnd);

// Polls condition every 20 ms until it holds or timeout_ms passes.
template <class Condition>
bool wait_until(Condition condition, DWORD timeout_ms) {
    for (DWORD waited = 0;; waited += 20) {
        if (condition()) return true;
        if (waited >= timeout_ms) return false;
        Sleep(20);
    }
}
