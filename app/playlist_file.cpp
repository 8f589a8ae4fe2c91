#include "app/playlist_file.h"

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/playlist.h"
#include "app/save_check.h"
#include "app/track_finder.h"
#include "runtime/file/file.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/requester.h"
#include "runtime/gui/window.h"

namespace {

constexpr ObjectNumber PLAYLIST_FILE = 0;
constexpr char16_t BYTE_ORDER_MARK = 0xFEFF;

// Adds ".m3u" unless the name already ends in exactly that extension.
void EnsureM3uExtension() {
    Text extension = Built([] { path_extension_part(app.playlist_path.c_str(), -1); });
    if (!text_equal(extension.c_str(), u"m3u")) app.playlist_path = TextBuild(app.playlist_path.c_str()) + u".m3u";
}

// The whole playlist as the file holds it, built at the text builder's
// position: a byte-order mark when a row holds anything beyond ASCII, then the
// rows joined by CR LF (the caller writes the last line end). Each row is read
// from the list once. Returns the text's address; empty for no rows.
const char16_t* BuildPlaylistText() {
    int start = text_builder_mark();
    // The byte-order mark's place is kept from the start and skipped when not needed.
    const char16_t byte_order_mark[] = {BYTE_ORDER_MARK, 0};
    text_builder_append(byte_order_mark);
    bool beyond_ascii = false;
    int count = gadget_item_count(PLAYLIST_GADGET);
    for (int row = 0; row < count; ++row) {
        if (row > 0) text_builder_append(u"\r\n");
        for (const char16_t* c = gadget_item_text_get(PLAYLIST_GADGET, row); *c && !beyond_ascii; ++c)
            beyond_ascii = *c > 0x7F;
    }
    const char16_t* text = text_builder_address(start);
    return beyond_ascii ? text : text + 1;
}

// Asks before an Open throws away unsaved rows; false keeps everything. An
// empty list has nothing to lose.
bool MayDiscardChanges() {
    if (app.is_saved != 0 || gadget_item_count(PLAYLIST_GADGET) <= 0) return true;
    int answer = requester_message(u"Unsaved Data!",
                                   u"Your work has not been saved yet!\r\n"
                                   u"Do you want to save before opening another playlist?",
                                   35);
    if (answer == 7) return true;
    if (answer != 6) return false;
    SavePlaylist();
    return app.is_saved != 0;
}

// Reading needs read access only, so that a write-protected playlist opens; a
// name chosen in the dialog that does not exist yet is created empty, as a
// new playlist.
bool OpenForReading(MissingPlaylist missing) {
    const char16_t* path = app.playlist_path.c_str();
    return file_open_mode(PLAYLIST_FILE, path, FILE_MODE_READ, FILE_SHARE_READING) != 0 ||
           (missing == MissingPlaylist::create && file_open(PLAYLIST_FILE, path) != 0);
}

void ShowOpenFailure(const Text& path, const Text& reason) {
    Text message = TextBuild(u"The playlist could not be opened from\r\n") + path + u"\r\n\r\n" + reason;
    requester_message(u"Not opened!", message.c_str(), 48);
}

void ShowSaveFailure(const Text& path, const Text& reason) {
    Text message = TextBuild(u"The playlist could not be saved to\r\n") + path + u"\r\n\r\n" + reason;
    requester_message(u"Not saved!", message.c_str(), 48);
}

// Writes the chosen file; on failure the previous name stays current, so the
// title and the next Save still refer to the file that is really on disk.
// Rows the player would not play as written are shown first; going back
// from there saves nothing.
void WriteOrRestore(const Text& previous_path) {
    if (RowsReadyToSave() && WritePlaylistFile()) {
        UpdateTitle();
    } else {
        app.playlist_path = previous_path;
    }
}

// Opens playlist_path, chosen in place of previous; on failure the list
// stays as it was and previous is the current file again.
void OpenChosen(const Text& previous, MissingPlaylist missing) {
    if (!ReadPlaylistFile(missing)) {
        // Nothing changed but the name: the next Save must not aim at the
        // file that could not be read.
        Text reason = Built([] { file_error_text(); });
        Text chosen = app.playlist_path;
        app.playlist_path = previous;
        ShowOpenFailure(chosen, reason);
        return;
    }
    app.is_saved = 1;
    UpdateTitle();
}

}  // namespace

void OpenPlaylist() {
    if (!MayDiscardChanges()) return;
    Text previous = app.playlist_path;
    app.playlist_path = Built([] { requester_open_file(u"Open M3U file", u"Playlist", PLAYLIST_PATTERN, 0); });
    if (app.playlist_path.empty()) return;
    OpenChosen(previous, MissingPlaylist::create);
}

void OpenGivenPlaylist() {
    const int given = file_given_count();
    if (given == 0) return;
    if (given > 1) {
        requester_message(u"Not opened!",
                          u"Tunelathe opens one playlist at a time.\r\n\r\nStart it with the path of one playlist.", 48);
        return;
    }
    Text previous = app.playlist_path;
    app.playlist_path = Built([] { file_given_path(0, -1); });
    // A path given at start names a playlist that is there: none is made.
    OpenChosen(previous, MissingPlaylist::fail);
}

// Whether the player reads the file, when it has no byte-order mark, in its
// code page: it does so for the .m3u extension in any letter case, and reads
// any other as UTF-8.
bool IsM3u(const char16_t* path) {
    Text extension = Built([path] { path_extension_part(path, -1); });
    std::u16string_view text = extension.c_str();
    return text.size() == 3 && (text[0] | 0x20) == u'm' && text[1] == u'3' && (text[2] | 0x20) == u'u';
}

LineStorage SavedLineStorage(const char16_t* path) {
    // Rows of plain ASCII are saved without a byte-order mark (decision 8).
    bool ascii = true;
    OrderedList* store = app.playlist_store.list;
    list_reset(store);
    while (auto* entry = static_cast<PlaylistEntry*>(list_next(store))) {
        for (const char16_t* c = entry->player_path; ascii && c && *c; ++c) ascii = *c < 0x80;
        if (!ascii) break;
    }
    return {false, ascii && IsM3u(path)};
}

namespace {

// A playlist file's lines, each ending in a null, all read before anything
// on screen changes.
struct PlaylistLines {
    std::u16string text;
    std::vector<std::size_t> starts;
    LineStorage storage;
};

// Reads PLAYLIST_FILE to its end and closes it; false, with the reason kept
// for file_error_text, when any of it could not be read: a file cut short by
// a failing read is no playlist to show, let alone to save back.
bool ReadLines(PlaylistLines& lines) {
    // A file that is not UTF-8 throughout was written in a legacy code page.
    int encoding = file_detect_text(PLAYLIST_FILE);
    if (encoding == 0) {
        file_finish(PLAYLIST_FILE);
        return false;
    }
    lines.storage.one_byte_a_character = encoding == FILE_TEXT_LATIN1;
    lines.storage.player_code_page = IsM3u(app.playlist_path.c_str());
    const int mark = text_builder_mark();
    int count = file_read_lines(PLAYLIST_FILE);
    const char16_t* text = text_builder_address(mark);
    const char16_t* end = text_builder_address(text_builder_mark());
    // A byte-order mark says how the file is encoded; it is not part of the
    // row, and a file holding nothing else holds no row.
    if (count > 0 && text[0] == BYTE_ORDER_MARK) {
        // The player reads a file with the mark as UTF-8, whatever its name.
        lines.storage.player_code_page = false;
        ++text;
        if (count == 1 && text[0] == 0) count = 0;
    }
    if (count > 0) lines.text.assign(text, end);
    text_builder_rewind(mark);
    lines.starts.reserve(static_cast<std::size_t>(count));
    for (std::size_t start = 0; lines.starts.size() < static_cast<std::size_t>(count);
         start += std::char_traits<char16_t>::length(lines.text.c_str() + start) + 1)
        lines.starts.push_back(start);
    return file_finish(PLAYLIST_FILE) != 0;
}

}  // namespace

bool ReadPlaylistFile(MissingPlaylist missing) {
    if (!OpenForReading(missing)) return false;
    PlaylistLines lines;
    if (!ReadLines(lines)) return false;

    TrackFinder tracks(app.playlist_path.c_str(), lines.storage);
    gadget_redraw(PLAYLIST_GADGET, 0);
    ClearPlaylist();
    for (std::size_t start : lines.starts) {
        const char16_t* line = lines.text.c_str() + start;
        // The row plays the file the player would open for it, when that is here.
        AppendEntry(line, tracks.LocalPathFor(line));
    }
    ShowEntriesFrom(0);
    gadget_redraw(PLAYLIST_GADGET, 1);
    return true;
}

void SavePlaylist() {
    if (gadget_item_count(PLAYLIST_GADGET) <= 0) {
        requester_message(u"Empty playlist", u"The current playlist is empty,\rthere is nothing to save.", 0);
        return;
    }
    if (!app.playlist_path.empty()) {
        WriteOrRestore(app.playlist_path);
        return;
    }
    Text previous = app.playlist_path;
    app.playlist_path = Built([] { requester_save_file(u"Save file", u"Playlist.m3u", PLAYLIST_PATTERN, 0); });
    if (app.playlist_path.empty()) {
        UpdateTitle();
        return;
    }
    EnsureM3uExtension();
    WriteOrRestore(previous);
}

void SavePlaylistAs() {
    Text previous = app.playlist_path;
    app.playlist_path =
        Built([] { requester_save_file(u"Save file as", u"New_Playlist.m3u", PLAYLIST_PATTERN, 0); });
    if (app.playlist_path.empty()) return;
    EnsureM3uExtension();
    WriteOrRestore(previous);
}

bool WritePlaylistFile() {
    // The rows go to a new file beside the target, which replaces the target
    // only once it is complete and on the device: a failed save never costs
    // the previous playlist.
    Text target = app.playlist_path;
    if (!file_create_replacing(PLAYLIST_FILE, target.c_str())) {
        ShowSaveFailure(target, Built([] { file_error_text(); }));
        return false;
    }
    bool written = true;
    if (gadget_item_count(PLAYLIST_GADGET) > 0) {
        int mark = text_builder_mark();
        written = file_write_line(PLAYLIST_FILE, BuildPlaylistText()) != 0;
        text_builder_rewind(mark);
    }
    // A line not written whole fails the finish too, which then replaces nothing.
    if (!file_finish(PLAYLIST_FILE) || !written) {
        ShowSaveFailure(target, Built([] { file_error_text(); }));
        return false;
    }
    app.is_saved = 1;
    return true;
}

void ShowSavedMessage() {
    Text message = TextBuild(u"Changes saved to ") + app.playlist_path;
    requester_message(u"Data Saved!", message.c_str(), 0);
}

void UpdateTitle() {
    Text name = Built([] { path_file_part(app.playlist_path.c_str(), -1); });
    Text title = TextBuild(u".: Tunelathe :.") + app.version_text + u" : " + name;
    window_title_set(MAIN_WINDOW, title.c_str());
}
