#include "tests/support/window_lists.h"

namespace {

BOOL CALLBACK collect(HWND hwnd, LPARAM found) {
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(hwnd);
    return TRUE;
}

struct ProcessSearch {
    DWORD process;
    std::vector<HWND> found;
};

BOOL CALLBACK collect_of_process(HWND hwnd, LPARAM lparam) {
    auto* search = reinterpret_cast<ProcessSearch*>(lparam);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner == search->process) search->found.push_back(hwnd);
    return TRUE;
}

}  // namespace

std::vector<HWND> thread_windows(DWORD thread) {
    std::vector<HWND> found;
    EnumThreadWindows(thread, collect, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::vector<HWND> process_windows(DWORD process) {
    ProcessSearch search{process, {}};
    EnumWindows(collect_of_process, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> child_windows(HWND parent) {
    std::vector<HWND> found;
    EnumChildWindows(parent, collect, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::wstring class_name(HWND hwnd) {
    wchar_t name[128] = L"";
    GetClassNameW(hwnd, name, 128);
    return name;
}
