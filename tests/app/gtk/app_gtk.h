// What the GTK side of the application's tests shares.
#pragma once

#include <string>

// A UTF-8 text as GTK and the system give it, as wide text; empty for null.
std::wstring wide_of(const char* utf8);
