// The windows a test looks through: a thread's, a process's top-level ones, a
// window's children; and what kind each is.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

std::vector<HWND> thread_windows(DWORD thread);
// Every top-level window of the process, hidden ones too.
std::vector<HWND> process_windows(DWORD process);
// Every window inside parent, at any depth.
std::vector<HWND> child_windows(HWND parent);

std::wstring class_name(HWND hwnd);
