// Reads another process's toolbar: its places in order, their images and
// rectangles, and the tooltip texts its tooltip windows hold for them.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

struct ToolbarPlace {
    int id = 0;             // command id; separators report what the toolbar holds
    bool separator = false;
    int image = -1;         // the image index the button draws
    RECT rect{};            // in the toolbar's client area
};

HWND find_toolbar(HWND main_window);
std::vector<ToolbarPlace> read_toolbar(HANDLE process, HWND toolbar);

// Tooltip texts by button position, from every tooltip window of the process
// with tools on this toolbar; callback tools (no stored text) are left out.
struct ToolTip {
    std::wstring text;
    RECT rect{};
};
std::map<UINT_PTR, ToolTip> read_toolbar_tooltips(HANDLE process, DWORD process_id, HWND toolbar);
