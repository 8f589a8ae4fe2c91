// The main window with its toolbar and track list, and the help box.
#pragma once

void OpenMainWindow();
void ShowHelp();
