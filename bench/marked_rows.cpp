#include "bench/marked_rows.h"

#include "app/app_state.h"
#include "app/playlist.h"
#include "runtime/gui/gadget.h"

void fill_marked_rows(int rows) {
    ClearPlaylist();
    gadget_redraw(PLAYLIST_GADGET, 0);
    for (int row = 0; row < rows; ++row) {
        gadget_item_add(PLAYLIST_GADGET, -1, u"/Music/Some Artist/Some Album/Some Track.mp3");
        if (row % 2 == 0)
            gadget_item_mark_set(PLAYLIST_GADGET, row, row % 4 ? GADGET_MARK_NOTICE : GADGET_MARK_PROBLEM, u"tip");
    }
    gadget_redraw(PLAYLIST_GADGET, 1);
}
