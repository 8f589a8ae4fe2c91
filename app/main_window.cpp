// The main window: the testing notice first, then the window filled while
// hidden (toolbar, tooltips, list) and shown once complete.
#include "app/main_window.h"

#include "app/app_state.h"
#include "app/keys.h"
#include "resources/toolbar_icons.h"
#include "runtime/gui/drop.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/requester.h"
#include "runtime/gui/toolbar.h"
#include "runtime/gui/window.h"
#include "runtime/image/image.h"

namespace {

constexpr char16_t notice_title[] = u"Information on TESTING version";
constexpr char16_t notice_text[] =
    u"Please keep in mind: this is a testing version. \r\n"
    u"Some functionality may not work as you might expect.\r\n\r\n"
    u"Known issues:\r\n"
    u"Songs in Tunelathe can only be played, if the songs are dropped onto a newly created playlist.\r\n"
    u"Loaded playlists can not be played at the moment - please be patient. I'm working on it!"
    u"Thank you for testing and using Tunelathe!";

// One toolbar place: a button with its image and tooltip, or a separator.
struct ToolbarPlace {
    int item;  // -1 for a separator
    int image;
    const char16_t* tooltip;  // nullptr: no tooltip
};

constexpr int separator = -1;

constexpr ToolbarPlace toolbar_layout[] = {
    {ToolNewPlaylist, 0, u"New playlist"},
    {ToolOpenPlaylist, 1, u"Open playlist"},
    {ToolSavePlaylist, 2, u"Save playlist"},
    {ToolSaveAs, 3, u"Save as ..."},
    {separator, 0, nullptr},
    {ToolDeleteTrack, 4, u"Delete track"},
    {ToolMoveUp, 5, u"Move track up"},
    {ToolMoveDown, 6, u"Move track down"},
    {ToolShuffle, 8, u"Shuffle all tracks"},
    {separator, 0, nullptr},
    {ToolStop, 9, u"Stop playing current song"},
    {ToolPlay, 10, u"Play selected song"},
    {ToolPause, 11, u"Pause song"},
    {ToolPrevious, 13, u"Previous song"},
    {ToolNext, 12, u"Next song"},
    {separator, 0, nullptr},
    {ToolVolume, 14, nullptr},
    {separator, 0, nullptr},
    {ToolHelp, 7, u"Help"},
};

void BuildToolbar() {
    for (const ToolbarPlace& place : toolbar_layout) {
        if (place.item == separator) {
            toolbar_separator();
            continue;
        }
        const std::intptr_t image =
            image_catch(place.image, toolbar_icon_data(place.image), toolbar_icon_size(place.image));
        // Drawn at 32 pixels, so high-density screens show the icon sharp.
        image_catch_double(place.image, toolbar_icon_32_data(place.image), toolbar_icon_32_size(place.image));
        toolbar_image_button(place.item, image);
    }
    // Tooltips go on in item order, once every button exists.
    for (int item = ToolNewPlaylist; item <= ToolHelp; ++item) {
        for (const ToolbarPlace& place : toolbar_layout)
            if (place.item == item && place.tooltip) toolbar_tooltip(MAIN_TOOLBAR, item, place.tooltip);
    }
}

}  // namespace

void OpenMainWindow() {
    requester_message(notice_title, notice_text, 0);

    Text title = TextBuild(u".: Tunelathe :.") + app.version_text;
    // Opened hidden: shown and hidden again, it would flash as an empty frame.
    if (!window_open(MAIN_WINDOW, -1, -1, 830, 620, title.c_str(), 0xCF0001 | WINDOW_HIDDEN)) return;
    window_bounds(MAIN_WINDOW, 320, 280, IGNORE_VALUE, IGNORE_VALUE);
    window_color_set(MAIN_WINDOW, 0x908070);
    if (toolbar_create(MAIN_TOOLBAR, window_handle(MAIN_WINDOW))) BuildToolbar();
    gadget_list_view(PLAYLIST_GADGET, 5, 30, 820, 585);
    gadget_color_set(PLAYLIST_GADGET, GADGET_COLOR_BACK, 0x454545);
    gadget_color_set(PLAYLIST_GADGET, GADGET_COLOR_FRONT, 0xF0FAFF);
    gadget_drop_enable(PLAYLIST_GADGET, DROP_FORMAT_FILES, 5);
    gadget_reorder_enable(PLAYLIST_GADGET, 1);
    RegisterKeys();
    window_hide(MAIN_WINDOW, 0);
}

void ShowHelp() {
    Text help = TextBuild(u".: Tunelathe :.\r\n\r\n")
        + u"Create playlists for the RockBox firmware!\r\n\r\n"
        + u"Simply drop audio/video files from your _DEVICE_ onto the application,\r\n"
        + u"move items up/down or delete items with the command buttons in the toolbar.\r\n\r\n"
        + u"Save and load playlists.\r\n"
        + u"Play songs.\r\n\r\n"
        + u"That's it. :)\r\n\r\n"
        + u"If you have any suggetions, feedback or if you've found a bug,\r\n"
        + u"send an email to '" + u"tunelathe@example.org" + u"'.\r\n\r\n"
        + u"Thank you for using 'Tunelathe'!\r\n"
        + u"\r\n"
        + u"Used icon set:\r\n"
        + u"Tunelathe toolbar icons, drawn by the Tunelathe project\r\n"
        + u"https://tunelathe.example.org/icons\r\n"
        + u"\r\n"
        + u"Keys:\r\n"
        + u"Delete - delete the selected item\r\n"
        + u"Alt+Up / Alt+Down - move the selected item up/down\r\n"
        + u"Ctrl+N - new playlist, Ctrl+O - open, Ctrl+S - save, Ctrl+Shift+S - save as\r\n"
        + u"Ctrl+R - shuffle all items\r\n"
        + u"Enter - play the selected song, Space - play/pause\r\n"
        + u"F1 - this help\r\n";
    requester_message(u"Help & Info", help.c_str(), 0);
}
