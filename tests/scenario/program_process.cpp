#include "tests/scenario/program_process.h"

#include <string>

namespace {

// The build hands us a Unix path; Wine shows the Unix root as drive Z:.
std::wstring program_path() {
    std::string path = TUNELATHE_EXE;
    std::wstring result;
    if (!path.empty() && path[0] == '/') result = L"Z:";
    for (char c : path) result += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    return result;
}

struct WindowSearch {
    DWORD process;
    const wchar_t* class_name;
    std::vector<HWND> found;
};

BOOL CALLBACK collect_window(HWND hwnd, LPARAM lparam) {
    auto* search = reinterpret_cast<WindowSearch*>(lparam);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    if (owner == search->process && IsWindowVisible(hwnd) && lstrcmpW(name, search->class_name) == 0)
        search->found.push_back(hwnd);
    return TRUE;
}

}  // namespace

ProgramProcess::ProgramProcess() {
    std::wstring command = L"\"" + program_path() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        CloseHandle(info.hThread);
        process_ = info.hProcess;
        id_ = info.dwProcessId;
    }
}

ProgramProcess::~ProgramProcess() {
    if (!process_) return;
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_, 99);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
}

std::vector<HWND> ProgramProcess::windows(const wchar_t* class_name) const {
    WindowSearch search{id_, class_name, {}};
    EnumWindows(collect_window, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND ProgramProcess::wait_for_window(const wchar_t* class_name, DWORD timeout_ms) const {
    HWND found = nullptr;
    wait_until([&] {
        auto list = windows(class_name);
        if (!list.empty()) found = list.front();
        return found != nullptr;
    }, timeout_ms);
    return found;
}

long ProgramProcess::wait_for_exit(DWORD timeout_ms) {
    if (!process_ || WaitForSingleObject(process_, timeout_ms) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return static_cast<long>(code);
}

std::wstring window_text(HWND hwnd) {
    wchar_t text[1024] = {};
    GetWindowTextW(hwnd, text, 1024);
    return text;
}
