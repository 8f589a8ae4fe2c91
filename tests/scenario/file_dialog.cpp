#include "tests/scenario/file_dialog.h"

#include <dlgs.h>

#include "tests/scenario/desktop.h"

namespace {

// The edit box in a control or in the controls inside it (an extended combo
// box holds a combo box, which holds the edit).
HWND edit_within(HWND control) {
    if (!control || class_name(control) == L"Edit") return control;
    for (HWND child = GetWindow(control, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (HWND edit = edit_within(child)) return edit;
    return nullptr;
}

// The file name field, under the ids the explorer-style dialogs use.
HWND name_field(HWND dialog) {
    if (HWND edit = edit_within(GetDlgItem(dialog, cmb13))) return edit;
    return edit_within(GetDlgItem(dialog, edt1));
}

}  // namespace

HWND wait_for_file_dialog(const ProgramProcess& program, const wchar_t* title, DWORD timeout_ms) {
    HWND found = nullptr;
    wait_until([&] {
        for (HWND dialog : program.windows(L"#32770"))
            if (window_text(dialog) == title && name_field(dialog)) found = dialog;
        return found != nullptr;
    }, timeout_ms);
    return found;
}

std::wstring describe_dialogs(const ProgramProcess& program) {
    std::wstring text;
    for (HWND dialog : program.windows(L"#32770")) {
        text += L"\"" + window_text(dialog) + L"\":";
        for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            text += L" " + class_name(child) + L"#" + std::to_wstring(GetDlgCtrlID(child));
        text += L"\n";
    }
    return text.empty() ? L"no dialogs" : text;
}

std::wstring file_name_field(HWND dialog) {
    HWND field = name_field(dialog);
    return field ? window_text(field) : L"";
}

bool choose_file(HWND dialog, const std::wstring& name) {
    HWND field = name_field(dialog);
    DWORD_PTR result = 0;
    if (!field || !SendMessageTimeoutW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()),
                                       SMTO_ABORTIFHUNG, 5000, &result))
        return false;
    return answer_box(dialog, IDOK);
}
