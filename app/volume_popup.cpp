// The volume pop-up: a borderless window with a slider under the pointer. It
// runs its own event loop and closes as soon as an event finds the pointer
// outside it; the slider's last value becomes the volume.
#include "app/app_state.h"
#include "app/playback.h"
#include "runtime/gui/event.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/window.h"
#include "runtime/media/media.h"

namespace {
// Where the slider starts next time; kept between openings.
int remembered_volume = 75;

void ShowVolumeTooltip() {
    gadget_tooltip(VOLUME_SLIDER, (TextBuild(u"Volume: ") + remembered_volume).c_str());
}
}  // namespace

int ShowVolumePopup(int x, int y) {
    if (!window_open(VOLUME_WINDOW, x - 10, y - 10, 200, 50, u"", 0x80000000, window_handle(MAIN_WINDOW)))
        return remembered_volume;
    window_color_set(VOLUME_WINDOW, 14599344);
    gadget_track_bar(VOLUME_SLIDER, 5, 5, 190, 40, 0, 100);
    gadget_state_set(VOLUME_SLIDER, remembered_volume);
    ShowVolumeTooltip();
    for (;;) {
        if (event_wait() == EVENT_GADGET && event_gadget() == VOLUME_SLIDER) {
            remembered_volume = gadget_state_get(VOLUME_SLIDER);
            ShowVolumeTooltip();
        }
        int mx = window_mouse_x(VOLUME_WINDOW);
        int my = window_mouse_y(VOLUME_WINDOW);
        if (mx < 1 || mx > 200 || my < 1 || my > 200) {
            window_close(VOLUME_WINDOW);
            return remembered_volume;
        }
        time_delay(1);
    }
}

void ChangeVolume() {
    app.volume = ShowVolumePopup(desktop_mouse_x(), desktop_mouse_y());
    if (app.is_playing == 1) movie_volume_set(0, app.volume, 0);
}
