// Puts the program into the state the README shows: started, its boxes
// answered, three tracks dragged from the player's drive E: and one selected.
// Then prints "ready X Y WIDTH HEIGHT" (the main window's inner area on the
// screen) and waits until the file named by its argument exists, so that the
// caller can take the picture; finally closes the program without saving.
#include <windows.h>
#include <ole2.h>

#include <cstdio>
#include <string>

#include "tests/scenario/desktop.h"
#include "tests/scenario/file_drag.h"
#include "tests/scenario/playlist_view.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: screenshot_driver <file that says the picture is taken>\n");
        return 2;
    }
    if (FAILED(OleInitialize(nullptr))) return 1;
    int status = 1;
    {
        RunningProgram program;
        HWND list = program.main_window ? find_list(program.main_window) : nullptr;
        if (list) {
            RECT area{};
            GetClientRect(list, &area);
            const std::wstring music = L"E:\\Music\\";
            drag_files({music + L"Alpha.mp3", music + L"Bravo.mp3", music + L"Charlie.mp3"},
                       {GetSystemMetrics(SM_CXSCREEN) - 5, GetSystemMetrics(SM_CYSCREEN) - 5},
                       centre_on_screen(list, area));
            click_row(list, 1);
            mouse_move({GetSystemMetrics(SM_CXSCREEN) - 5, GetSystemMetrics(SM_CYSCREEN) - 5});
            Sleep(500);  // the list repaints

            RECT inner{};
            GetClientRect(program.main_window, &inner);
            POINT origin{0, 0};
            ClientToScreen(program.main_window, &origin);
            std::printf("ready %ld %ld %ld %ld\n", origin.x, origin.y, inner.right, inner.bottom);
            std::fflush(stdout);
            wait_until([&] { return GetFileAttributesW(argv[1]) != INVALID_FILE_ATTRIBUTES; }, 60000);

            PostMessageW(program.main_window, WM_SYSCOMMAND, SC_CLOSE, 0);
            Box question = wait_for_box(program.process, 10000);
            if (question.dialog) answer_box(question.dialog, IDNO);
            status = program.process.wait_for_exit(10000) == 0 ? 0 : 1;
        }
    }
    OleUninitialize();
    return status;
}
