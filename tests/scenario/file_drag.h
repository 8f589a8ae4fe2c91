// Drags files onto another program's window the way a file manager does:
// OLE's DoDragDrop with a file-list data object, the real mouse pressed at
// `from`, moved to `to` and released there.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <string>
#include <vector>

struct DragResult {
    HRESULT result = E_FAIL;  // DRAGDROP_S_DROP when the target took the files
    DWORD effect = 0;         // what the target said it did
};

// The calling thread must have called OleInitialize.
DragResult drag_files(const std::vector<std::wstring>& paths, POINT from, POINT to);

// OLE for the calling thread, for as long as it lives.
struct OleSession {
    HRESULT started = OleInitialize(nullptr);
    ~OleSession() {
        if (SUCCEEDED(started)) OleUninitialize();
    }
};
