#include "runtime/core/runtime_steps.h"

#include "runtime/core/heap.h"
#include "runtime/file/file.h"
#include "runtime/list/list.h"
#include "runtime/text/text.h"

#include "runtime/gui/drop.h"
#include "runtime/gui/event.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/requester.h"
#include "runtime/gui/toolbar.h"
#include "runtime/gui/window.h"
#include "runtime/image/image.h"
#include "runtime/media/media.h"

namespace {
// The runtime's general heap: everything in it goes at the end in one step.
Heap* general_heap = nullptr;
}

bool runtime_start() {
    if (!text_init()) return false;
    toolbar_graphics_probe();
    general_heap = heap_create(4096);
    bool started = general_heap != nullptr && image_init();
    // The PNG decoder with the image table, before any image is made: the
    // window library may make the program's icon (on GTK).
    if (started) {
        image_decoder_png_register();
        image_encoder_png_register();
    }
    started = started && event_init() && window_init() && gadget_init() && drop_init();
    started = started && file_init() && list_init();
    if (started) {
        requester_init();
        started = toolbar_init();
    }
    if (!started) runtime_end();
    return started;
}

void runtime_end() {
    // Sound and media end first: they do nothing unless they were started.
    sound_end();
    movie_end();
    file_close_all();
    gadget_end();
    window_end();
    event_end();
    // After the windows: closing them revokes their drop targets through OLE.
    drop_end();
    image_free_all();
    requester_end();
    heap_destroy(general_heap);
    general_heap = nullptr;
    text_end();
}
