#include "app/keys.h"

#include "app/app_state.h"
#include "app/playback.h"
#include "runtime/gui/window.h"

namespace {

struct KeyCommand {
    int key;
    int modifiers;
    int item;  // the toolbar item whose command the key runs
};

constexpr KeyCommand main_window_keys[] = {
    {KEY_DELETE, 0, ToolDeleteTrack},
    {'N', KEY_CONTROL, ToolNewPlaylist},
    {'O', KEY_CONTROL, ToolOpenPlaylist},
    {'S', KEY_CONTROL, ToolSavePlaylist},
    {'S', KEY_CONTROL | KEY_SHIFT, ToolSaveAs},
    {KEY_UP, KEY_ALT, ToolMoveUp},
    {KEY_DOWN, KEY_ALT, ToolMoveDown},
    {'R', KEY_CONTROL, ToolShuffle},
    {KEY_SPACE, 0, KeyPlayOrPause},
    {KEY_RETURN, 0, ToolPlay},
    {KEY_F1, 0, ToolHelp},
};

}  // namespace

void RegisterKeys() {
    for (const KeyCommand& each : main_window_keys) window_shortcut_add(MAIN_WINDOW, each.key, each.modifiers, each.item);
}

// A paused song counts as playing: Space goes on with it.
void PlayOrPause() {
    if (app.is_playing == 1) TogglePause();
    else PlaySelectedSong();
}
