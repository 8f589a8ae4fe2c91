// The running program's playlist and toolbar as a person sees and uses them:
// the list's rows and selection, clicks on rows and buttons, which buttons
// look pressed in.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/scenario/program_process.h"

HWND find_list(HWND main_window);
// The rows as the list shows them; the system carries the text across.
std::vector<std::wstring> list_rows(HWND list);
int selected_row(HWND list);  // -1 when none
// The colour each shown row's text is drawn in, read from the screen: the
// commonest colour in the row's left part that is not its background (the
// colour at its right end); -1 for a row without text.
std::vector<COLORREF> row_text_colours(HWND list);

// A click on the row, a little in from the list's left edge; the list must
// be scrolled to its top.
void click_row(HWND list, int row);
void click_toolbar_button(const ProgramProcess& program, HWND main_window, int id);
bool toolbar_button_pressed(HWND main_window, int id);
