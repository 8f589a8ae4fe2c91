// The program's open and save dialogs, answered as a person would: the name
// typed into the file name field, then the dialog's OK button.
#pragma once

#include <windows.h>

#include <string>

#include "tests/scenario/program_process.h"

// The program's visible dialog with this title; nullptr if none came in time.
HWND wait_for_file_dialog(const ProgramProcess& program, const wchar_t* title, DWORD timeout_ms);
// The program's visible dialogs with their titles and controls, for failure messages.
std::wstring describe_dialogs(const ProgramProcess& program);
// The text in the dialog's file name field.
std::wstring file_name_field(HWND dialog);
// Types the name into the field and presses OK; true once the dialog is gone.
bool choose_file(HWND dialog, const std::wstring& name);
