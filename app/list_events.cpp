#include "app/list_events.h"

#include "app/app_state.h"
#include "app/playback.h"
#include "app/playlist.h"
#include "runtime/gui/event.h"

void HandleListEvent() {
    if (event_gadget() != PLAYLIST_GADGET) return;
    switch (event_subtype()) {
    case GADGET_ITEM_MOVED:
        MoveTrack(event_item_from(), event_item_to());
        break;
    case GADGET_DOUBLE_CLICK:
        PlayClickedSong();
        break;
    default:
        break;
    }
}
