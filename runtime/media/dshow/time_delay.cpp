#include <windows.h>
#include <mmsystem.h>

#include "runtime/media/media.h"

namespace {

using TimerPeriodFunction = MMRESULT(WINAPI*)(UINT);

struct TimerPeriod {
    TimerPeriodFunction begin = nullptr;
    TimerPeriodFunction end = nullptr;
};

// The multimedia library is loaded by the first delay rather than with the
// program: loading it (and the codec manager it brings) lengthened every start.
const TimerPeriod& timer_period() {
    static const TimerPeriod period = [] {
        TimerPeriod found;
        if (HMODULE library = LoadLibraryW(L"winmm.dll")) {
            found.begin = reinterpret_cast<TimerPeriodFunction>(
                reinterpret_cast<void*>(GetProcAddress(library, "timeBeginPeriod")));
            found.end = reinterpret_cast<TimerPeriodFunction>(
                reinterpret_cast<void*>(GetProcAddress(library, "timeEndPeriod")));
        }
        return found;
    }();
    return period;
}

}  // namespace

void time_delay(int ms) {
    // Sleep takes an unsigned count: a negative delay would wait for weeks.
    if (ms < 0) ms = 0;
    // At the default timer resolution a short Sleep lasts a whole tick (~16 ms).
    const TimerPeriod& period = timer_period();
    const bool finer = period.begin && period.end && period.begin(1) == TIMERR_NOERROR;
    Sleep(static_cast<DWORD>(ms));
    if (finer) period.end(1);
}
