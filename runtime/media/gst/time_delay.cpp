// The millisecond delay.
#include <glib.h>

#include "runtime/media/media.h"

void time_delay(int ms) { g_usleep(static_cast<gulong>(ms < 0 ? 0 : ms) * 1000); }
