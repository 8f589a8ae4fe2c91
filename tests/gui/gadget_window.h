// The gadget tests' window and event helpers, from the test support of the
// back end being built, for the gadget tests every back end runs.
#pragma once

#ifdef _WIN32
#include "tests/gui/win32/gadget_support.h"
#else
#include "tests/gui/gtk/gadget_support.h"
#endif
