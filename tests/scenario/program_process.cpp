#include "tests/scenario/program_process.h"

#include <tlhelp32.h>

#include <map>
#include <string>

#include "tests/support/window_lists.h"

namespace {

// This process's environment with the extra entries put in; names compare
// without case, as Windows does.
std::wstring environment_block(const std::vector<std::wstring>& extra) {
    struct NoCase {
        bool operator()(const std::wstring& a, const std::wstring& b) const {
            return lstrcmpiW(a.c_str(), b.c_str()) < 0;
        }
    };
    std::map<std::wstring, std::wstring, NoCase> entries;
    auto put = [&](const std::wstring& entry) {
        // Names such as "=C:" start with '=': look for the separator after it.
        auto equals = entry.find(L'=', 1);
        if (equals != std::wstring::npos) entries[entry.substr(0, equals)] = entry;
    };
    if (wchar_t* own = GetEnvironmentStringsW()) {
        for (const wchar_t* p = own; *p; p += lstrlenW(p) + 1) put(p);
        FreeEnvironmentStringsW(own);
    }
    for (const std::wstring& entry : extra) put(entry);
    std::wstring block;
    for (const auto& [name, entry] : entries) block += entry + L'\0';
    block += L'\0';
    return block;
}

}  // namespace

// The build hands us a Unix path.
std::wstring tunelathe_path() { return wine_path(TUNELATHE_EXE); }

std::vector<std::wstring> no_audio_environment() {
    return {L"PULSE_SERVER=unix:/nonexistent/tunelathe-scenario/native"};
}

ProgramProcess::ProgramProcess(const std::wstring& program, const std::vector<std::wstring>& extra_environment,
                               const std::vector<std::wstring>& arguments) {
    std::wstring command = L"\"" + program + L"\"";
    for (const std::wstring& argument : arguments) command += L" \"" + argument + L"\"";
    std::wstring environment = environment_block(extra_environment);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                       environment.data(), nullptr, &startup, &info)) {
        CloseHandle(info.hThread);
        process_ = info.hProcess;
        id_ = info.dwProcessId;
        main_thread_id_ = info.dwThreadId;
    }
}

ProgramProcess::ProgramProcess(StartedElsewhere program) {
    auto running_id = [&]() -> DWORD {
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        if (snapshot == INVALID_HANDLE_VALUE) return 0;
        PROCESSENTRY32W entry{};
        entry.dwSize = sizeof entry;
        DWORD found = 0;
        for (BOOL more = Process32FirstW(snapshot, &entry); more && !found; more = Process32NextW(snapshot, &entry))
            if (lstrcmpiW(entry.szExeFile, program.executable) == 0) found = entry.th32ProcessID;
        CloseHandle(snapshot);
        return found;
    };
    DWORD id = 0;
    if (!wait_until([&] { return (id = running_id()) != 0; }, program.timeout_ms)) return;
    // What the scenario helpers do with a process: wait for it, read and
    // write its memory, end it.
    process_ = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_VM_OPERATION | PROCESS_VM_READ |
                               PROCESS_VM_WRITE | PROCESS_TERMINATE,
                           FALSE, id);
    if (process_) id_ = id;
}

ProgramProcess::~ProgramProcess() {
    if (!process_) return;
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_, 99);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
}

std::vector<HWND> ProgramProcess::windows(const wchar_t* class_name_wanted, bool visible_only) const {
    std::vector<HWND> found;
    for (HWND hwnd : process_windows(id_))
        if ((!visible_only || IsWindowVisible(hwnd)) && class_name(hwnd) == class_name_wanted) found.push_back(hwnd);
    return found;
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
    wchar_t text[4096] = {};
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                             &copied))
        return L"";
    return text;
}
