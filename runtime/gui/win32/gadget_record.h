// The Win32 gadget record and a kind's Win32 entries, private to the Win32
// gadget code; the generic operations (runtime/gui/gadget_operations.cpp)
// call the kind's portable entries.
#pragma once

#include <windows.h>

#include <cstdint>

#include "runtime/core/object_table.h"
#include "runtime/gui/gadget_kind.h"
#include "runtime/gui/list_drag.h"

struct ListMarks;

struct GadgetRecord {
    HWND handle;  // the child control; 0 = entry free
    const GadgetKind* kind;
    WNDPROC previous_proc;  // the control's own procedure, under the gadget procedure
    DWORD thread;           // the thread that made the control, which runs its procedure
    int back_colour;        // -1 = default
    int front_colour;       // -1 = default
    HBRUSH back_brush;      // from the brush cache; none for the default colour
    ListMarks* marks;       // a list's row marks, from the first one set (list_marks.h)
    ListDrag drag;          // a list row being dragged to another place
};

// The entries of a kind that only this back end calls.
struct GadgetNative {
    // A control notification sent to the runtime window; true with *result
    // when the notification needs no further handling.
    bool (*event_handler)(GadgetRecord& gadget, ObjectNumber window, UINT message, WPARAM wparam,
                          LPARAM lparam, LRESULT* result) = nullptr;
    void (*release)(GadgetRecord& gadget) = nullptr;
};

// Creates the native control as a child of the calling thread's gadget parent
// and registers it under the number (or a new one for DYNAMIC_ID). Returns the
// registered record, or nullptr with the number left free; also nullptr while
// another thread is making a gadget under that number.
GadgetRecord* gadget_create(ObjectNumber number, const GadgetKind& kind, const wchar_t* class_name,
                            DWORD ex_style, DWORD style, int x, int y, int width, int height);
// What a creator returns: the new number for DYNAMIC_ID, else the handle.
std::intptr_t gadget_creation_result(ObjectNumber requested, const GadgetRecord& gadget);
// The number a gadget was registered under (its control identifier).
ObjectNumber gadget_number_of(const GadgetRecord& gadget);
// Removes a control's tool from the calling thread's tool-tip window.
void gadget_tooltip_forget(HWND control);
// Every gadget's procedure; a kind that subclasses its control once more
// passes its messages on to this one.
LRESULT CALLBACK gadget_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
// A control of a runtime window whose density changed: its text at the new
// density, a list's rows as high as that text. Controls that are no gadgets
// are left alone.
void gadget_dpi_changed(HWND control, int dpi);
// An owner-drawn list's rows as high as its font's.
void list_fit_rows_to_font(HWND list);
