// Win32 dialogs as a person's helper thread reads and answers them: their
// texts and buttons, through messages that give up on a hung window.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

std::wstring window_text(HWND hwnd);
std::wstring class_of(HWND hwnd);
// SendMessage that gives up after 5 s.
LRESULT send_to(HWND hwnd, UINT message, WPARAM wparam = 0, LPARAM lparam = 0);
// Waits until check() holds; false after the timeout.
bool eventually(const std::function<bool()>& check,
                std::chrono::milliseconds timeout = std::chrono::milliseconds(5000));
// The way a user presses a dialog button.
void press_button(HWND dialog, int id);
// What a person reads in a message box: the text beside the buttons.
std::wstring message_text(HWND box);
// Dispatches every message waiting for the calling thread.
void pump_messages();
// The visible dialogs of a thread.
std::vector<HWND> dialogs_of(DWORD thread_id);
// A file dialog's name field: a combo box (cmb13) or an edit (edt1),
// depending on the dialog template; none in a message box.
HWND name_field(HWND dialog);
