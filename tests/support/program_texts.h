// The program's own texts in its start-up notice and Help box, as both
// programs' scenarios expect a person to read them.
#pragma once

inline constexpr char16_t NOTICE_TITLE[] = u"Information on TESTING version";
inline constexpr char16_t NOTICE_TEXT[] =
    u"Please keep in mind: this is a testing version. \r\n"
    u"Some functionality may not work as you might expect.\r\n\r\n"
    u"Known issues:\r\n"
    u"Songs in Tunelathe can only be played, if the songs are dropped onto a newly created playlist.\r\n"
    u"Loaded playlists can not be played at the moment - please be patient. I'm working on it!"
    u"Thank you for testing and using Tunelathe!";

inline constexpr char16_t HELP_TEXT[] =
    u".: Tunelathe :.\r\n\r\n"
    u"Create playlists for the RockBox firmware!\r\n\r\n"
    u"Simply drop audio/video files from your _DEVICE_ onto the application,\r\n"
    u"move items up/down or delete items with the command buttons in the toolbar.\r\n\r\n"
    u"Save and load playlists.\r\n"
    u"Play songs.\r\n\r\n"
    u"That's it. :)\r\n\r\n"
    u"If you have any suggetions, feedback or if you've found a bug,\r\n"
    u"send an email to 'tunelathe@example.org'.\r\n\r\n"
    u"Thank you for using 'Tunelathe'!\r\n"
    u"\r\n"
    u"Used icon set:\r\n"
    u"Tunelathe toolbar icons, drawn by the Tunelathe project\r\n"
    u"https://tunelathe.example.org/icons\r\n"
    u"\r\n"
    u"Keys:\r\n"
    u"Delete - delete the selected item\r\n"
    u"Alt+Up / Alt+Down - move the selected item up/down\r\n"
    u"Ctrl+N - new playlist, Ctrl+O - open, Ctrl+S - save, Ctrl+Shift+S - save as\r\n"
    u"Ctrl+R - shuffle all items\r\n"
    u"Enter - play the selected song, Space - play/pause\r\n"
    u"F1 - this help\r\n";
inline constexpr char16_t HELP_TITLE[] = u"Help & Info";
