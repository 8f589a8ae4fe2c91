// Shared by the playlist application's tests: one real main window for the
// whole test program, a person who answers the dialogs the program shows,
// drops through the list's real drop target, and files on disk.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/file_bytes.h"

// ---------------------------------------------------------------------------
// The person at the screen

struct SeenDialog {
    std::wstring title;
    std::wstring text;  // a message box's text; empty for file dialogs
};

using Answer = std::function<void(HWND)>;

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

private:
    struct State;
    State* state_;
};

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

// Posts the platform's close request to the main window and waits for its
// event, which is then the current one. False when none came.
bool close_request();

// ---------------------------------------------------------------------------
// Files

bool exists(const std::wstring& path);
std::vector<std::wstring> names_in(const std::wstring& folder);
void remove_tree(const std::wstring& path);

// Each test starts with an empty, saved playlist without a file, and gets a
// new folder of its own.
class AppTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::wstring path(const std::wstring& name) const { return folder_ + L"\\" + name; }

    std::wstring folder_;
};

// UTF-8 of a UTF-16 text, for expected file contents.
std::string utf8(const std::u16string& text);
