// Requesters with the platform's real dialogs. A person is played by a second
// thread: it finds the dialog the test thread shows, looks at it, and presses
// a button or types a file name, the way a user would.
#include "runtime/gui/requester.h"

#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "runtime/text/text.h"

namespace {

using namespace std::chrono_literals;

constexpr auto DIALOG_TIMEOUT = 10s;

std::wstring window_text(HWND hwnd) {
    wchar_t text[1024] = L"";
    GetWindowTextW(hwnd, text, 1024);
    return text;
}

std::wstring class_of(HWND hwnd) {
    wchar_t name[64] = L"";
    GetClassNameW(hwnd, name, 64);
    return name;
}

std::u16string u16(const std::wstring& text) {
    return {text.begin(), text.end()};
}
std::wstring wide(const char16_t* text) {
    return text ? std::wstring(text, text + std::char_traits<char16_t>::length(text)) : L"";
}

LRESULT send(HWND hwnd, UINT message, WPARAM wparam = 0, LPARAM lparam = 0) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(hwnd, message, wparam, lparam, SMTO_ABORTIFHUNG, 5000, &result);
    return static_cast<LRESULT>(result);
}

// The way a user presses a dialog button.
void press(HWND dialog, int id) {
    if (HWND button = GetDlgItem(dialog, id)) {
        send(button, BM_CLICK);
    } else {
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    }
}

// Waits until check() holds; false after the timeout.
bool eventually(const std::function<bool()>& check, std::chrono::milliseconds timeout = 5000ms) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!check()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

struct ThreadDialogs {
    std::vector<HWND> found;
};

BOOL CALLBACK collect_dialog(HWND hwnd, LPARAM dialogs) {
    if (class_of(hwnd) == L"#32770" && IsWindowVisible(hwnd))
        reinterpret_cast<ThreadDialogs*>(dialogs)->found.push_back(hwnd);
    return TRUE;
}

std::vector<HWND> dialogs_of(DWORD thread_id) {
    ThreadDialogs dialogs;
    EnumThreadWindows(thread_id, collect_dialog, reinterpret_cast<LPARAM>(&dialogs));
    return dialogs.found;
}

// The person at the screen. It answers the first dialog the test thread shows
// with `answer`; any later dialog (none is expected) is counted and refused.
// A dialog left open after the timeout is closed so that the test goes on.
class Person {
   public:
    explicit Person(std::function<void(HWND)> answer)
        : answer_(std::move(answer)), watched_(GetCurrentThreadId()), thread_([this] { watch(); }) {}
    ~Person() { done(); }

    // Called by the test thread once the requester has returned.
    void done() {
        finished_ = true;
        if (thread_.joinable()) thread_.join();
    }
    bool saw_dialog() const { return first_ != nullptr; }
    int dialogs_seen() const { return seen_; }
    bool had_to_close() const { return closed_by_force_; }
    std::wstring first_title() const { return first_title_; }

   private:
    void watch() {
        const auto deadline = std::chrono::steady_clock::now() + DIALOG_TIMEOUT;
        std::vector<HWND> answered;
        while (!finished_) {
            for (HWND dialog : dialogs_of(watched_)) {
                if (std::find(answered.begin(), answered.end(), dialog) != answered.end()) continue;
                answered.push_back(dialog);
                ++seen_;
                if (!first_) {
                    first_ = dialog;
                    first_title_ = window_text(dialog);
                    answer_(dialog);
                } else {
                    press(dialog, IDNO);
                    press(dialog, IDCANCEL);
                }
            }
            if (std::chrono::steady_clock::now() > deadline) {
                for (HWND dialog : dialogs_of(watched_)) {
                    closed_by_force_ = true;
                    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
                }
            }
            std::this_thread::sleep_for(20ms);
        }
    }

    std::function<void(HWND)> answer_;
    DWORD watched_;
    std::atomic<bool> finished_{false};
    std::atomic<HWND> first_{nullptr};
    std::atomic<int> seen_{0};
    std::atomic<bool> closed_by_force_{false};
    std::wstring first_title_;
    std::thread thread_;
};

// What a person sees of a message box: the text beside the buttons.
std::wstring message_text(HWND box) {
    std::wstring found;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (class_of(child) == L"Static" && !window_text(child).empty()) found = window_text(child);
    }
    return found;
}

// Plain top-level windows of the test thread, as the program's own would be.
constexpr wchar_t TEST_WINDOW_CLASS[] = L"TunelatheRequesterTest";

HWND open_window(const wchar_t* title, DWORD ex_style = 0, bool visible = true) {
    return CreateWindowExW(ex_style, TEST_WINDOW_CLASS, title,
                           WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0), 40, 40, 300, 200, nullptr,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
}

bool is_topmost(HWND hwnd) {
    return (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

void pump_messages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Makes hwnd the foreground window; Wine under a bare X server may need a few
// rounds of messages before it agrees.
bool bring_to_front(HWND hwnd) {
    return eventually([hwnd] {
        SetForegroundWindow(hwnd);
        pump_messages();
        return GetForegroundWindow() == hwnd;
    });
}

class Requesters : public ::testing::Test {
   protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(text_init());
        requester_init();
        WNDCLASSW window_class{};
        window_class.lpfnWndProc = DefWindowProcW;
        window_class.hInstance = GetModuleHandleW(nullptr);
        window_class.lpszClassName = TEST_WINDOW_CLASS;
        window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        ASSERT_NE(RegisterClassW(&window_class), 0);
    }
    static void TearDownTestSuite() {
        UnregisterClassW(TEST_WINDOW_CLASS, GetModuleHandleW(nullptr));
        requester_end();
        text_end();
    }
    void TearDown() override {
        for (HWND hwnd : windows_) DestroyWindow(hwnd);
        pump_messages();
    }
    HWND window(const wchar_t* title, DWORD ex_style = 0, bool visible = true) {
        HWND hwnd = open_window(title, ex_style, visible);
        windows_.push_back(hwnd);
        pump_messages();
        return hwnd;
    }

    std::vector<HWND> windows_;
};

// ---------------------------------------------------------------------------
// Message box

struct MessageCase {
    int flags;
    int button;
    int answer;
};

TEST_F(Requesters, MessageBoxReturnsTheButtonPressed) {
    HWND main = window(L"main");
    ASSERT_TRUE(bring_to_front(main));
    const MessageCase cases[] = {
        {REQUESTER_OK, IDOK, ANSWER_OK},
        {REQUESTER_ICON_INFORMATION, IDOK, ANSWER_OK},
        {REQUESTER_YES_NO_CANCEL | REQUESTER_ICON_QUESTION, IDCANCEL, ANSWER_CANCEL},
        {REQUESTER_YES_NO_CANCEL | REQUESTER_ICON_QUESTION, IDYES, ANSWER_YES},
        {REQUESTER_YES_NO_CANCEL | REQUESTER_ICON_QUESTION, IDNO, ANSWER_NO},
        {REQUESTER_YES_NO | REQUESTER_ICON_QUESTION, IDYES, ANSWER_YES},
        {REQUESTER_YES_NO | REQUESTER_ICON_QUESTION, IDNO, ANSWER_NO},
    };
    for (const MessageCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "flags " << c.flags << ", button " << c.button);
        std::vector<int> buttons;
        Person person([&](HWND box) {
            for (int id : {IDOK, IDCANCEL, IDYES, IDNO})
                if (GetDlgItem(box, id) && IsWindowVisible(GetDlgItem(box, id))) buttons.push_back(id);
            press(box, c.button);
        });
        const int answer = requester_message(u"Question", u"Go on?", c.flags);
        person.done();
        EXPECT_EQ(answer, c.answer);
        EXPECT_EQ(person.dialogs_seen(), 1);
        EXPECT_FALSE(person.had_to_close());
        // The buttons the flags ask for, and no others.
        const std::vector<int> expected = (c.flags & 0xF) == REQUESTER_YES_NO_CANCEL
                                              ? std::vector{IDCANCEL, IDYES, IDNO}
                                          : (c.flags & 0xF) == REQUESTER_YES_NO ? std::vector{IDYES, IDNO}
                                                                                : std::vector{IDOK};
        EXPECT_EQ(buttons, expected);
    }
}

TEST_F(Requesters, MessageBoxShowsTitleAndTextOverItsOwner) {
    HWND main = window(L"main");
    ASSERT_TRUE(bring_to_front(main));
    EXPECT_EQ(requester_owner(), reinterpret_cast<std::intptr_t>(main));

    std::wstring text;
    HWND owner = nullptr;
    Person person([&](HWND box) {
        eventually([&] { return !message_text(box).empty(); });
        text = message_text(box);
        owner = GetWindow(box, GW_OWNER);
        press(box, IDYES);
    });
    const int answer =
        requester_message(u"Unsaved Data!",
                          u"Your work has not been saved yet!\r\nDo you want to save before closing the "
                          u"application?",
                          REQUESTER_YES_NO | REQUESTER_ICON_QUESTION);
    person.done();
    EXPECT_EQ(answer, ANSWER_YES);
    EXPECT_EQ(person.first_title(), L"Unsaved Data!");
    EXPECT_EQ(text,
              L"Your work has not been saved yet!\r\nDo you want to save before closing the application?");
    EXPECT_EQ(owner, main);
}

TEST_F(Requesters, OwnerIsNoneWhenTheForegroundIsNotOurs) {
    HWND hidden = window(L"hidden", 0, false);
    // A window of another process has the foreground, or none does: either way
    // no window of ours.
    if (GetForegroundWindow()) {
        DWORD process = 0;
        GetWindowThreadProcessId(GetForegroundWindow(), &process);
        if (process == GetCurrentProcessId()) {
            SetForegroundWindow(GetDesktopWindow());
            pump_messages();
        }
    }
    DWORD process = 0;
    if (GetForegroundWindow()) GetWindowThreadProcessId(GetForegroundWindow(), &process);
    if (process == GetCurrentProcessId()) GTEST_SKIP() << "the foreground cannot leave this process here";
    EXPECT_EQ(requester_owner(), 0);

    HWND owner = hidden;
    Person person([&](HWND box) {
        owner = GetWindow(box, GW_OWNER);
        press(box, IDOK);
    });
    EXPECT_EQ(requester_message(u"Notice", u"No owner", REQUESTER_OK), ANSWER_OK);
    person.done();
    EXPECT_EQ(owner, nullptr);
}

// ---------------------------------------------------------------------------
// Suspension of the other windows

struct WindowState {
    bool enabled;
    bool topmost;
};
WindowState state_of(HWND hwnd) {
    return {IsWindowEnabled(hwnd) != FALSE, is_topmost(hwnd)};
}

TEST_F(Requesters, OtherWindowsTakeNoInputWhileABoxIsOpen) {
    HWND plain = window(L"plain");
    HWND disabled = window(L"disabled before");
    EnableWindow(disabled, FALSE);
    HWND topmost = window(L"topmost", WS_EX_TOPMOST);
    HWND hidden = window(L"hidden", 0, false);
    HWND main = window(L"main");
    ASSERT_TRUE(bring_to_front(main));
    ASSERT_TRUE(is_topmost(topmost));

    WindowState during_plain{}, during_disabled{}, during_topmost{}, during_hidden{};
    Person person([&](HWND box) {
        during_plain = state_of(plain);
        during_disabled = state_of(disabled);
        during_topmost = state_of(topmost);
        during_hidden = state_of(hidden);
        press(box, IDOK);
    });
    EXPECT_EQ(requester_message(u"Data Saved!", u"Changes saved to C:\\x.m3u", REQUESTER_OK), ANSWER_OK);
    person.done();
    ASSERT_TRUE(person.saw_dialog());

    EXPECT_FALSE(during_plain.enabled);
    EXPECT_FALSE(during_disabled.enabled);
    EXPECT_FALSE(during_topmost.enabled);
    EXPECT_FALSE(during_topmost.topmost);
    EXPECT_TRUE(during_hidden.enabled) << "a hidden window is left alone";

    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_TRUE(IsWindowEnabled(plain));
    EXPECT_FALSE(IsWindowEnabled(disabled)) << "disabled before the box, so disabled after it";
    EXPECT_TRUE(IsWindowEnabled(topmost));
    EXPECT_TRUE(is_topmost(topmost));
    EXPECT_TRUE(IsWindowEnabled(hidden));
}

TEST_F(Requesters, SuspendAndRestoreNest) {
    HWND other = window(L"other");
    HWND closed_meanwhile = window(L"closed meanwhile");
    HWND main = window(L"main");
    ASSERT_TRUE(bring_to_front(main));

    windows_suspend();
    EXPECT_TRUE(IsWindowEnabled(main)) << "the foreground window owns the requester";
    EXPECT_FALSE(IsWindowEnabled(other));
    windows_suspend();
    DestroyWindow(closed_meanwhile);
    windows_restore();
    EXPECT_FALSE(IsWindowEnabled(other)) << "the outer requester is still open";
    windows_restore();
    EXPECT_TRUE(IsWindowEnabled(other));

    windows_restore();  // no suspend left: nothing changes
    EXPECT_TRUE(IsWindowEnabled(other));
    EXPECT_TRUE(IsWindowEnabled(main));
}

TEST_F(Requesters, EachThreadRestoresOnlyItsOwnWindows) {
    HWND mine = window(L"mine");
    HWND main = window(L"main");
    ASSERT_TRUE(bring_to_front(main));

    HANDLE suspended = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE go_on = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<HWND> theirs{nullptr};
    std::atomic<bool> theirs_enabled_at_end{false};
    std::thread other([&] {
        // Shown without taking the foreground, which would exempt it.
        HWND hwnd = open_window(L"theirs", 0, false);
        ShowWindow(hwnd, SW_SHOWNOACTIVATE);
        theirs = hwnd;
        pump_messages();
        windows_suspend();
        SetEvent(suspended);
        while (WaitForSingleObject(go_on, 10) == WAIT_TIMEOUT) pump_messages();
        windows_restore();
        theirs_enabled_at_end = IsWindowEnabled(hwnd) != FALSE;
        DestroyWindow(hwnd);
    });
    ASSERT_EQ(WaitForSingleObject(suspended, 10000), WAIT_OBJECT_0);
    EXPECT_FALSE(IsWindowEnabled(theirs));
    EXPECT_TRUE(IsWindowEnabled(mine)) << "another thread's suspend leaves this thread's windows alone";

    windows_suspend();
    EXPECT_FALSE(IsWindowEnabled(mine));
    windows_restore();
    EXPECT_TRUE(IsWindowEnabled(mine));
    EXPECT_FALSE(IsWindowEnabled(theirs)) << "restored by the wrong thread";

    SetEvent(go_on);
    other.join();
    EXPECT_TRUE(theirs_enabled_at_end);
    CloseHandle(suspended);
    CloseHandle(go_on);
}

// ---------------------------------------------------------------------------
// File dialogs

// A new folder for every test under the temporary folder, in its long form, as
// the dialogs report paths. New, because the dialogs remember the last folder
// used: a folder seen before would hide a dialog that ignored its start folder.
class FileRequesters : public Requesters {
   protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
        static int made = 0;
        folder_ = std::wstring(temp) + L"tunelathe-requester-" + std::to_wstring(GetCurrentProcessId()) +
                  L"-" + std::to_wstring(GetTickCount()) + L"-" + std::to_wstring(++made);
        ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr));
        wchar_t long_form[MAX_PATH];
        ASSERT_GT(GetLongPathNameW(folder_.c_str(), long_form, MAX_PATH), 0u);
        folder_ = long_form;
        mark_ = text_builder_mark();
    }
    void TearDown() override {
        text_builder_rewind(mark_);
        for (const std::wstring& file : files_) DeleteFileW(file.c_str());
        RemoveDirectoryW(folder_.c_str());
        Requesters::TearDown();
    }
    std::wstring path(const wchar_t* name) { return folder_ + L"\\" + name; }
    void make_file(const wchar_t* name) {
        files_.push_back(path(name));
        HANDLE file =
            CreateFileW(files_.back().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        CloseHandle(file);
    }

    std::wstring folder_;
    std::vector<std::wstring> files_;
    int mark_ = 0;
};

// The file name field: a combo box (cmb13) or an edit (edt1), depending on the
// dialog template.
HWND name_field(HWND dialog) {
    if (HWND combo = GetDlgItem(dialog, cmb13)) {
        if (HWND edit = FindWindowExW(combo, nullptr, L"Edit", nullptr)) return edit;
        return combo;
    }
    return GetDlgItem(dialog, edt1);
}

std::wstring folder_shown(HWND dialog) {
    wchar_t folder[MAX_PATH] = L"";
    send(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
    return folder;
}

struct FileTypes {
    std::vector<std::wstring> descriptions;
    int selected = -1;
};

FileTypes file_types(HWND dialog) {
    FileTypes types;
    HWND combo = GetDlgItem(dialog, cmb1);
    const int count = static_cast<int>(send(combo, CB_GETCOUNT));
    for (int i = 0; i < count; ++i) {
        wchar_t text[256] = L"";
        if (send(combo, CB_GETLBTEXTLEN, i) < 256)
            send(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        types.descriptions.push_back(text);
    }
    types.selected = static_cast<int>(send(combo, CB_GETCURSEL));
    return types;
}

// What the person saw in a file dialog before answering it.
struct FileDialogView {
    std::wstring name;
    std::wstring folder;
    FileTypes types;
};

// Looks at the dialog once its name field shows expected_name, then types
// typed_name (unless null) and presses button.
std::function<void(HWND)> answer_file_dialog(FileDialogView& view, const wchar_t* expected_name,
                                             const wchar_t* typed_name, int button) {
    return [&view, expected_name, typed_name, button](HWND dialog) {
        eventually([&] { return name_field(dialog) && window_text(name_field(dialog)) == expected_name; });
        eventually([&] { return !folder_shown(dialog).empty(); });
        view.name = window_text(name_field(dialog));
        view.folder = folder_shown(dialog);
        view.types = file_types(dialog);
        if (typed_name) send(name_field(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed_name));
        press(dialog, button);
    };
}

constexpr char16_t PLAYLIST_PATTERN[] = u"Playlist (*.m3u) | *.m3u";

TEST_F(FileRequesters, OpenStartsInTheDefaultFolderWithItsName) {
    const std::wstring default_file = path(L"list.m3u");
    FileDialogView view;
    Person person(answer_file_dialog(view, L"list.m3u", nullptr, IDOK));
    char16_t* chosen = requester_open_file(u"Open M3U file", u16(default_file).c_str(), PLAYLIST_PATTERN, 0);
    person.done();

    EXPECT_EQ(person.first_title(), L"Open M3U file");
    EXPECT_EQ(view.name, L"list.m3u");
    EXPECT_EQ(view.folder, folder_);
    EXPECT_EQ(view.types.descriptions, std::vector<std::wstring>{L"Playlist (*.m3u) "});
    EXPECT_EQ(view.types.selected, 0);
    EXPECT_EQ(wide(chosen), default_file);
    EXPECT_EQ(chosen, text_builder_address(mark_)) << "built at the builder's current position";
    EXPECT_FALSE(person.had_to_close());
}

TEST_F(FileRequesters, TypedNameComesBackAsAFullPath) {
    FileDialogView view;
    Person person(answer_file_dialog(view, L"list.m3u", L"typed by hand.m3u", IDOK));
    char16_t* chosen = requester_open_file(u"Open M3U file", u16(path(L"list.m3u")).c_str(),
                                           u"Playlist (*.m3u)|*.m3u|All files (*.*)|*.*", 1);
    person.done();

    EXPECT_EQ(view.types.descriptions, (std::vector<std::wstring>{L"Playlist (*.m3u)", L"All files (*.*)"}));
    EXPECT_EQ(view.types.selected, 1) << "pattern position 1 is the second pair";
    EXPECT_EQ(wide(chosen), path(L"typed by hand.m3u"));
    EXPECT_EQ(person.dialogs_seen(), 1);
}

TEST_F(FileRequesters, CancelGivesTheEmptyText) {
    for (bool save : {false, true}) {
        SCOPED_TRACE(save ? "save" : "open");
        FileDialogView view;
        Person person(answer_file_dialog(view, L"Playlist.m3u", nullptr, IDCANCEL));
        char16_t* chosen = save ? requester_save_file(u"Save file", u"Playlist.m3u", PLAYLIST_PATTERN, 0)
                                : requester_open_file(u"Open M3U file", u"Playlist.m3u", PLAYLIST_PATTERN, 0);
        person.done();
        ASSERT_TRUE(person.saw_dialog());
        EXPECT_FALSE(person.had_to_close());
        ASSERT_NE(chosen, nullptr);
        EXPECT_EQ(wide(chosen), L"");
        EXPECT_EQ(chosen, text_builder_address(mark_));
    }
}

TEST_F(FileRequesters, SaveProposesThePlainDefaultName) {
    FileDialogView view;
    Person person(answer_file_dialog(view, L"Playlist.m3u", nullptr, IDOK));
    char16_t* chosen = requester_save_file(u"Save file", u"Playlist.m3u", PLAYLIST_PATTERN, 0);
    person.done();

    EXPECT_EQ(person.first_title(), L"Save file");
    EXPECT_EQ(view.name, L"Playlist.m3u");
    ASSERT_FALSE(view.folder.empty());
    EXPECT_EQ(wide(chosen), view.folder + (view.folder.back() == L'\\' ? L"" : L"\\") + L"Playlist.m3u");
}

TEST_F(FileRequesters, SaveOverAnExistingFileAsksNothing) {
    make_file(L"exists.m3u");
    FileDialogView view;
    Person person(answer_file_dialog(view, L"exists.m3u", nullptr, IDOK));
    char16_t* chosen =
        requester_save_file(u"Save file as", u16(path(L"exists.m3u")).c_str(), PLAYLIST_PATTERN, 0);
    person.done();

    EXPECT_EQ(person.dialogs_seen(), 1) << "no overwrite prompt";
    EXPECT_EQ(wide(chosen), path(L"exists.m3u"));
}

TEST_F(FileRequesters, InvalidDefaultNamesAreDropped) {
    for (const char16_t* default_file : {u"*.m3u", u"\\list.m3u"}) {
        SCOPED_TRACE(
            std::string(default_file, default_file + std::char_traits<char16_t>::length(default_file)));
        FileDialogView view;
        Person person(answer_file_dialog(view, L"", nullptr, IDCANCEL));
        requester_open_file(u"Open M3U file", default_file, PLAYLIST_PATTERN, 0);
        person.done();
        ASSERT_TRUE(person.saw_dialog());
        EXPECT_EQ(view.name, L"");
    }
}

TEST_F(FileRequesters, OtherWindowsAreSuspendedWhileADialogIsOpen) {
    HWND other = window(L"other");
    HWND topmost = window(L"topmost", WS_EX_TOPMOST);
    HWND main = window(L"main");
    ASSERT_TRUE(bring_to_front(main));

    WindowState during_other{}, during_topmost{};
    HWND owner = nullptr;
    Person person([&](HWND dialog) {
        during_other = state_of(other);
        during_topmost = state_of(topmost);
        owner = GetWindow(dialog, GW_OWNER);
        press(dialog, IDCANCEL);
    });
    requester_save_file(u"Save file", u"Playlist.m3u", PLAYLIST_PATTERN, 0);
    person.done();

    EXPECT_EQ(owner, main);
    EXPECT_FALSE(during_other.enabled);
    EXPECT_FALSE(during_topmost.enabled);
    EXPECT_FALSE(during_topmost.topmost);
    EXPECT_TRUE(IsWindowEnabled(other));
    EXPECT_TRUE(IsWindowEnabled(topmost));
    EXPECT_TRUE(is_topmost(topmost));
    EXPECT_TRUE(IsWindowEnabled(main));
}

}  // namespace
