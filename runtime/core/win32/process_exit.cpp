#include <windows.h>

#include "runtime/core/runtime_steps.h"

void process_exit(int code) { ExitProcess(static_cast<UINT>(code)); }
