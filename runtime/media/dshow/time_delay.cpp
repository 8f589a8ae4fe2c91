#include <windows.h>
#include <mmsystem.h>

#include "runtime/media/media.h"

void time_delay(int ms) {
    // Sleep takes an unsigned count: a negative delay would wait for weeks.
    if (ms < 0) ms = 0;
    // At the default timer resolution a short Sleep lasts a whole tick (~16 ms).
    timeBeginPeriod(1);
    Sleep(static_cast<DWORD>(ms));
    timeEndPeriod(1);
}
