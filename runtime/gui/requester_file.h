// The file requesters' portable steps: requester_open_file and
// requester_save_file, which hand the dialog to the back end, and the answer
// it returns.
#pragma once

enum class FileDialog { open, save };

// The back end's part: shows the platform's dialog of that kind and returns
// requester_result of the path chosen (or of nothing).
char16_t* requester_file(FileDialog dialog, const char16_t* title, const char16_t* default_file,
                         const char16_t* pattern, int pattern_position);

// The chosen path built in the calling thread's text builder at its current
// position; the empty text when nothing was chosen (null) or the path is
// longer than a file name buffer holds (REQUESTER_PATH_CHARS - 1).
char16_t* requester_result(const char16_t* path);
