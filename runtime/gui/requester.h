// Requesters: modal dialogs that block the calling thread until the user
// answers: a message box, and the platform's open and save file dialogs.
// While one is open, every other visible window of the calling thread apart
// from the requester's owner is disabled, so that none of them takes input.
#pragma once

#include <cstdint>

// requester_message flags are handed to the platform unchanged; these are the
// ones the program uses. Low four bits: the buttons; then the icon.
inline constexpr int REQUESTER_OK = 0;
inline constexpr int REQUESTER_YES_NO_CANCEL = 3;
inline constexpr int REQUESTER_YES_NO = 4;
inline constexpr int REQUESTER_ICON_QUESTION = 0x20;
inline constexpr int REQUESTER_ICON_INFORMATION = 0x40;

// requester_message answers: the button that closed the box; 0 when the box
// could not be shown.
inline constexpr int ANSWER_OK = 1;
inline constexpr int ANSWER_CANCEL = 2;
inline constexpr int ANSWER_YES = 6;
inline constexpr int ANSWER_NO = 7;

// Start-up, before any window is made: the common-control classes the
// dialogs use, and COM for the calling thread. End: undoes both.
void requester_init();
void requester_end();

// Null texts read as empty.
int requester_message(const char16_t* title, const char16_t* text, int flags);

// The chosen full path (at most 259 characters), built in the calling
// thread's text builder at its current position and returned as its address
// (see runtime/text/text.h); the empty text when the user cancelled or the
// dialog failed. pattern: "description|pattern|description|pattern...";
// pattern_position: the 0-based pair selected first. default_file: a name, or
// a folder, a "\" and a name; an invalid name is dropped.
char16_t* requester_open_file(const char16_t* title, const char16_t* default_file, const char16_t* pattern,
                              int pattern_position);
char16_t* requester_save_file(const char16_t* title, const char16_t* default_file, const char16_t* pattern,
                              int pattern_position);

// The owner of a requester: the foreground window when it belongs to this
// process, else 0 (none).
std::intptr_t requester_owner();

// windows_suspend disables the calling thread's visible top-level windows
// except the foreground one and takes away their topmost status;
// windows_restore gives both back to the windows the matching suspend
// touched. Pairs nest; each thread only ever restores its own windows.
void windows_suspend();
void windows_restore();
