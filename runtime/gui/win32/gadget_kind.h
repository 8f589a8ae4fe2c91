// The gadget record and the table of operations every gadget kind provides.
// Private to the Win32 gadget code: generic operations in gadget.cpp look a
// gadget up and call its kind's entry; an empty entry makes the operation a
// no-op returning 0.
#pragma once

#include <windows.h>

#include <cstdint>

#include "runtime/core/object_table.h"

struct GadgetKind;

struct GadgetRecord {
    HWND handle;  // the child control; 0 = entry free
    const GadgetKind* kind;
    WNDPROC previous_proc;  // the control's own procedure, under the gadget procedure
    int back_colour;        // -1 = default
    int front_colour;       // -1 = default
    HBRUSH back_brush;      // from the brush cache; none for the default colour
};

// Entries in the fixed table order. The commented gaps are the slots of gadget
// kinds this program does not contain; no operation reads them.
struct GadgetKind {
    int kind;
    int table_size;
    // A control notification sent to the runtime window; true with *result
    // when the notification needs no further handling.
    bool (*event_handler)(GadgetRecord& gadget, ObjectNumber window, UINT message, WPARAM wparam,
                          LPARAM lparam, LRESULT* result);
    void (*release)(GadgetRecord& gadget);
    int (*state_get)(GadgetRecord& gadget);
    void (*state_set)(GadgetRecord& gadget, int state);
    char16_t* (*text_get)(GadgetRecord& gadget, int position);
    void (*text_set)(GadgetRecord& gadget, const char16_t* text);
    void (*item_add)(GadgetRecord& gadget, int position, const char16_t* text, int flags);
    void (*item_add_image)(GadgetRecord& gadget, int position, const char16_t* text,
                           std::intptr_t image, int flags);
    void (*item_remove)(GadgetRecord& gadget, int item);
    void (*clear)(GadgetRecord& gadget);
    void (*resize)(GadgetRecord& gadget, int x, int y, int width, int height);
    int (*item_count)(GadgetRecord& gadget);
    int (*item_state_get)(GadgetRecord& gadget, int item);
    void (*item_state_set)(GadgetRecord& gadget, int item, int state);
    char16_t* (*item_text_get)(GadgetRecord& gadget, int item, int column, int position);
    void (*item_text_set)(GadgetRecord& gadget, int item, const char16_t* text, int column);
    // (one slot of other kinds)
    int (*x_get)(GadgetRecord& gadget);
    int (*y_get)(GadgetRecord& gadget);
    int (*width_get)(GadgetRecord& gadget);
    int (*height_get)(GadgetRecord& gadget);
    // (three slots of other kinds)
    int (*attribute_get)(GadgetRecord& gadget, int attribute);
    void (*attribute_set)(GadgetRecord& gadget, int attribute, int value);
    // (two slots of other kinds)
    void (*color_set)(GadgetRecord& gadget, int colour_type, int colour);
    int (*color_get)(GadgetRecord& gadget, int colour_type);
    // (two slots of other kinds)
    void (*item_data_set)(GadgetRecord& gadget, int item, std::intptr_t value);
    std::intptr_t (*item_data_get)(GadgetRecord& gadget, int item);
    // (five slots of other kinds)
};

// Creates the native control as a child of the calling thread's gadget parent
// and registers it under the number (or a new one for DYNAMIC_ID). Returns the
// registered record, or nullptr with the number left free; also nullptr while
// another thread is making a gadget under that number.
GadgetRecord* gadget_create(ObjectNumber number, const GadgetKind& kind, const wchar_t* class_name,
                            DWORD ex_style, DWORD style, int x, int y, int width, int height);
// What a creator returns: the new number for DYNAMIC_ID, else the handle.
std::intptr_t gadget_creation_result(ObjectNumber requested, const GadgetRecord& gadget);
// An empty text at the text builder position, for texts that do not exist.
char16_t* gadget_empty_text(int position);
// The number a gadget was registered under (its control identifier).
ObjectNumber gadget_number_of(const GadgetRecord& gadget);
// The kind number of a gadget (GADGET_KIND_LIST, ...), 0 when there is none.
int gadget_kind_of(ObjectNumber number);
// Removes a control's tool from the calling thread's tool-tip window.
void gadget_tooltip_forget(HWND control);
// Every gadget's procedure; a kind that subclasses its control once more
// passes its messages on to this one.
LRESULT CALLBACK gadget_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
