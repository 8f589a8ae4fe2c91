// Requesters on Win32: MessageBoxW, GetOpenFileNameW and GetSaveFileNameW,
// each between windows_suspend and windows_restore.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <objbase.h>

#include <algorithm>
#include <memory>
#include <new>

#include "runtime/gui/requester.h"
#include "runtime/gui/requester_file.h"
#include "runtime/gui/requester_pattern.h"

namespace {

// The classes of tab, hot-key, date, extended combo box and internet-address
// controls.
constexpr DWORD REQUESTER_CONTROL_CLASSES =
    ICC_TAB_CLASSES | ICC_HOTKEY_CLASS | ICC_DATE_CLASSES | ICC_USEREX_CLASSES | ICC_INTERNET_CLASSES;
static_assert(REQUESTER_CONTROL_CLASSES == 0xB48);

// Explorer-style, no read-only box, the process's current folder left alone,
// and the chosen folder must exist. No overwrite prompt, and an opened file
// need not exist.
constexpr DWORD FILE_DIALOG_OPTIONS = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST;
static_assert(FILE_DIALOG_OPTIONS == 0x8080C);

bool com_started = false;

const wchar_t* wide(const char16_t* text) {
    return text ? reinterpret_cast<const wchar_t*>(text) : L"";
}

// The result as a text-returning operation leaves it: at the builder's current
// position, which stays at its end.
using FileDialogFunction = BOOL(WINAPI*)(OPENFILENAMEW*);

// The dialogs' library is loaded at the first file requester rather than with
// the program: it brings the shell and printing libraries with it, whose
// loading would otherwise delay every start.
FileDialogFunction file_dialog_function(FileDialog dialog) {
    static const HMODULE library = LoadLibraryW(L"comdlg32.dll");
    if (!library) return nullptr;
    const char* name = dialog == FileDialog::open ? "GetOpenFileNameW" : "GetSaveFileNameW";
    return reinterpret_cast<FileDialogFunction>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

}  // namespace

char16_t* requester_file(FileDialog dialog, const char16_t* title, const char16_t* default_file,
                         const char16_t* pattern, int pattern_position) {
    // The chosen name is copied out before the buffer goes.
    const std::unique_ptr<char16_t[]> name_buffer(new (std::nothrow) char16_t[REQUESTER_PATH_CHARS]());
    char16_t* name = name_buffer.get();
    if (!name) return requester_result(nullptr);

    const std::unique_ptr<char16_t[]> filters = requester_filter_list(pattern);
    if (!filters) return requester_result(nullptr);
    const RequesterDefault start = requester_default_split(default_file, name);
    if (!start.ok) return requester_result(nullptr);
    const FileDialogFunction show_dialog = file_dialog_function(dialog);
    if (!show_dialog) return requester_result(nullptr);

    OPENFILENAMEW request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = reinterpret_cast<HWND>(requester_owner());
    request.lpstrFilter = reinterpret_cast<const wchar_t*>(filters.get());
    // The platform counts from 1; a negative position selects the first pair.
    request.nFilterIndex = static_cast<DWORD>(std::max(pattern_position, 0)) + 1;
    request.lpstrFile = reinterpret_cast<wchar_t*>(name);
    request.nMaxFile = REQUESTER_PATH_CHARS;
    request.lpstrInitialDir = reinterpret_cast<const wchar_t*>(start.folder.get());
    request.lpstrTitle = title ? reinterpret_cast<const wchar_t*>(title) : nullptr;
    request.Flags = FILE_DIALOG_OPTIONS;

    windows_suspend();
    const BOOL chosen = show_dialog(&request);
    windows_restore();

    if (!chosen) return requester_result(nullptr);
    name[REQUESTER_PATH_CHARS - 1] = 0;
    return requester_result(name);
}

void requester_init() {
    INITCOMMONCONTROLSEX classes{sizeof classes, REQUESTER_CONTROL_CLASSES};
    InitCommonControlsEx(&classes);
    com_started = SUCCEEDED(CoInitialize(nullptr));
}

void requester_end() {
    if (com_started) CoUninitialize();
    com_started = false;
}

std::intptr_t requester_owner() {
    const HWND foreground = GetForegroundWindow();
    DWORD process_id = 0;
    if (foreground) GetWindowThreadProcessId(foreground, &process_id);
    return foreground && process_id == GetCurrentProcessId() ? reinterpret_cast<std::intptr_t>(foreground)
                                                             : 0;
}

int requester_message(const char16_t* title, const char16_t* text, int flags) {
    windows_suspend();
    const int answer = MessageBoxW(reinterpret_cast<HWND>(requester_owner()), wide(text), wide(title),
                                   static_cast<UINT>(flags));
    windows_restore();
    // Escape on a box whose only button is OK is OK, as Windows documents it;
    // Wine answers Cancel.
    if ((flags & MB_TYPEMASK) == MB_OK && answer == IDCANCEL) return IDOK;
    return answer;
}
