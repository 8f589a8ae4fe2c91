// Shared by the playlist application's tests: one real main window for the
// whole test program, a person who answers the dialogs the program shows,
// drops through the list's real drop target, and files on disk. What touches
// the platform (the person's hands, the window's title and close request,
// files and where the player is) is each back end's, under tests/app/win32/
// and tests/app/gtk/; the rest is here once.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "runtime/gui/requester.h"
#include "tests/support/file_bytes.h"

// ---------------------------------------------------------------------------
// The person at the screen

struct SeenDialog {
    std::wstring title;
    std::wstring text;  // a message box's text; empty for file dialogs
};

// What the person does with one dialog.
struct Answer {
    enum class Act { press, choose, cancel };
    Act act;
    int button;         // press: ANSWER_OK, ANSWER_YES, ANSWER_NO or ANSWER_CANCEL
    std::wstring path;  // choose: the full path typed
};

// Presses a button of a message box.
Answer press(int button);
// Types a full path into a file dialog's name field and confirms it.
Answer choose_file(const std::wstring& path);
// Cancels a file dialog.
Answer cancel_dialog();

// Answers the dialogs the calling thread shows, one answer each, in order.
// A dialog beyond the answers is recorded and closed, so that the test sees
// it and fails instead of hanging.
class Person {
public:
    explicit Person(std::vector<Answer> answers);
    ~Person();
    Person(const Person&) = delete;
    Person& operator=(const Person&) = delete;
    // Once the program's procedure has returned: every dialog seen.
    std::vector<SeenDialog> done();

    struct State;

private:
    State* state_;
};

// A message box's text as the person reads it, from the text the program
// gave: Windows keeps its line breaks, GTK shows CR LF and a lone CR as LF.
std::wstring as_shown(const std::wstring& text);

// ---------------------------------------------------------------------------
// The program's state as a person would see it

std::wstring wide(const char16_t* text);
std::u16string u16(const std::wstring& text);

struct Entry {
    std::u16string player_path;
    std::u16string local_path;
    friend bool operator==(const Entry&, const Entry&) = default;
};
std::ostream& operator<<(std::ostream& out, const Entry& entry);

std::vector<std::u16string> rows();
std::vector<Entry> entries();
int selected_row();
std::wstring main_title();
std::wstring title_for(const std::wstring& file_name);

// Drops the files onto the list over the given row (-1: below the last row)
// through the list's drop target, then hands the drop event to
// HandleFileDrop as the main loop does. False when no drop event came.
bool drop_files(const std::vector<std::u16string>& paths, int over_row = -1);

// The main window in front with the keyboard focus, as after a click on it.
void bring_main_window_to_front();

// Posts the platform's close request to the main window and waits for its
// event, which is then the current one. False when none came.
bool close_request();

// Waits for an event of the given kind, which is then the current event.
bool wait_for_event(int kind);

// What a failed save must leave: the previous file as it was, the message
// naming the file, and the program's state as before.
struct Before {
    std::wstring title;
    int is_saved;
    std::u16string path;
};
Before before_save();
void expect_failed_save(const std::vector<SeenDialog>& seen, const std::wstring& target, const Before& before);

// ---------------------------------------------------------------------------
// Files, and the player they are on

// The platform's separator of folders in a path.
extern const wchar_t SEPARATOR;

bool exists(const std::wstring& path);
bool make_folder(const std::wstring& path);
std::vector<std::wstring> names_in(const std::wstring& folder);
void remove_tree(const std::wstring& path);
// A file's marks beside its bytes: its attributes on Windows, its permission
// bits on Linux. Read-only ones; ones no save gives a file of its own (hidden;
// 0705); and plain ones again.
extern const unsigned READ_ONLY_MARKS;
extern const unsigned UNUSUAL_MARKS;
extern const unsigned PLAIN_MARKS;
bool set_file_marks(const std::wstring& path, unsigned marks);
bool has_file_marks(const std::wstring& path, unsigned marks);

// While it lives, the program cannot open the file. Windows: another program
// holds it open without sharing it. Linux has no sharing modes and the tests
// run as root, who may open any file: a link leading to itself stands in
// its place, and the file comes back afterwards.
class UnopenableFile {
public:
    explicit UnopenableFile(std::wstring path);
    ~UnopenableFile();
    UnopenableFile(const UnopenableFile&) = delete;
    UnopenableFile& operator=(const UnopenableFile&) = delete;
    bool holds() const { return holds_; }

private:
    std::wstring path_;
    bool holds_ = false;
    void* holder_ = nullptr;  // Windows: the other program's handle
};
// Writes into a new file until the file system is full; false when the
// file could not be made.
bool fill_with_file(const std::wstring& path);

// The player the tests drop from: the local path of a file or folder at
// this player path (Windows: on drive C:, "C:\Music\a.mp3"; Linux: under a
// tmpfs mounted for the test program). The file or folder is made, as a
// drop reads the real path of what is there and the player check looks for
// it; what a test makes there goes at its end.
std::u16string player_file(const std::u16string& player_path);
std::u16string player_folder(const std::u16string& player_path);
// Makes the file (empty) or folder at a local path and the folders above it,
// remembered so that remove_made_on_player takes away only what was made.
void make_on_player(const std::u16string& local, bool folder);
void remove_made_on_player();
// The local path of a player path on the volume a local path is on (its
// drive on Windows, its mount point on Linux), as the program plays it.
std::u16string on_volume_of(const std::wstring& local, const std::u16string& player_path);
// A local path as the player path from its volume's root.
std::u16string from_volume_root(const std::wstring& local);

// The folder a test wrapper named in an environment variable (a Unix path),
// as this program names it; empty when the variable is not set.
std::wstring folder_named_in(const char* variable);

// A new empty folder for a test, as a full path without links or short names.
std::wstring new_test_folder();

// Each test starts with an empty, saved playlist without a file, and gets a
// new folder of its own.
class AppTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // A path in the test's folder; "/" in relative separates folders.
    std::wstring path(const std::wstring& relative) const;

    std::wstring folder_;
};

// UTF-8 of a UTF-16 text, for expected file contents.
std::string utf8(const std::u16string& text);

// ---------------------------------------------------------------------------
// The person's mouse on the list (tests/support/person.h), and what the main loop
// does with the list's events

// From the middle of a row to a quarter (1) or three quarters (3) down another.
int offset_to_row(int from, int onto, int quarters);
// Presses the row, drags it to that place of the other row and lets go.
void drag_row(int row, int onto, int quarters);
// Hands the list's events waiting to HandleListEvent, as the main loop does.
// Result: how many of them moved a row.
int handle_list_events();

// Keys

// The main window in front, then the key pressed there with the modifiers
// held (KEY_ numbers of runtime/gui/window.h), `times` times as when held
// down; each menu event it made is handed to what the main loop runs for it
// (RunToolbarCommand), until none came for a moment.
void press_in_main_window(int key, int modifiers = 0, int times = 1);
// The keyboard focus in the playlist, as a person's Tab or click puts it there.
void focus_playlist();
// The keyboard focus on the toolbar's first button.
void focus_toolbar();
