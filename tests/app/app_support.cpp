#include "tests/app/app_support.h"

#include <dlgs.h>
#include <ole2.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <mutex>
#include <thread>

#include "app/app_state.h"
#include "app/main_window.h"
#include "app/playlist.h"
#include "app/playlist_file.h"
#include "app/startup.h"
#include "runtime/core/runtime_steps.h"
#include "runtime/gui/event.h"
#include "runtime/gui/gadget.h"
#include "runtime/gui/window.h"
#include "tests/gui/test_data_object.h"
#include "tests/gui/drop_blocks.h"
#include "tests/support/win32_dialogs.h"

namespace {

using namespace std::chrono_literals;

constexpr auto DIALOG_TIMEOUT = 15s;

bool is_file_dialog(HWND dialog) { return GetDlgItem(dialog, cmb13) || GetDlgItem(dialog, edt1); }

HWND list_handle() { return reinterpret_cast<HWND>(gadget_handle(PLAYLIST_GADGET)); }

// Waits for an event of the given kind, which is then the current event.
bool wait_for_event(int kind) {
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (std::chrono::steady_clock::now() < deadline)
        if (event_wait_timeout(10) == kind) return true;
    return false;
}

// Start-up as the program does it, once for the whole test program.
class ProgramEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        ASSERT_TRUE(runtime_start());
        InitApplicationState();
        Person person({press(IDOK)});
        OpenMainWindow();
        std::vector<SeenDialog> seen = person.done();
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].title, L"Information on TESTING version");
        ASSERT_NE(window_handle(MAIN_WINDOW), 0);
        ASSERT_NE(gadget_handle(PLAYLIST_GADGET), 0);
        SetForegroundWindow(reinterpret_cast<HWND>(window_handle(MAIN_WINDOW)));
    }
    void TearDown() override {
        app.playlist_path = nullptr;
        app.version_text = nullptr;
        app.current_song_path = nullptr;
        list_free(app.playlist_store.list);
        runtime_end();
    }
};

const auto* const program_environment = ::testing::AddGlobalTestEnvironment(new ProgramEnvironment);

}  // namespace

// ---------------------------------------------------------------------------

Answer press(int button) {
    return [button](HWND box) {
        eventually([box] { return !message_text(box).empty(); });
        press_button(box, button);
    };
}

Answer choose_file(const std::wstring& path) {
    return [path](HWND dialog) {
        eventually([dialog] { return name_field(dialog) && IsWindowVisible(name_field(dialog)); });
        send_to(name_field(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
        press_button(dialog, IDOK);
    };
}

Answer cancel_dialog() {
    return [](HWND dialog) {
        eventually([dialog] { return name_field(dialog) != nullptr; });
        press_button(dialog, IDCANCEL);
    };
}

struct Person::State {
    std::vector<Answer> answers;
    DWORD watched = GetCurrentThreadId();
    std::atomic<bool> finished{false};
    std::mutex lock;
    std::vector<SeenDialog> seen;
    std::thread thread;

    void watch() {
        std::vector<HWND> answered;
        std::size_t next = 0;
        auto deadline = std::chrono::steady_clock::now() + DIALOG_TIMEOUT;
        while (!finished) {
            for (HWND dialog : dialogs_of(watched)) {
                if (std::find(answered.begin(), answered.end(), dialog) != answered.end()) continue;
                answered.push_back(dialog);
                // Read it as a person would before answering.
                if (!is_file_dialog(dialog)) eventually([dialog] { return !message_text(dialog).empty(); }, 2000ms);
                SeenDialog view{window_text(dialog), is_file_dialog(dialog) ? L"" : message_text(dialog)};
                {
                    std::lock_guard<std::mutex> guard(lock);
                    seen.push_back(view);
                }
                if (next < answers.size()) {
                    answers[next++](dialog);
                } else {
                    press_button(dialog, IDCANCEL);
                }
                deadline = std::chrono::steady_clock::now() + DIALOG_TIMEOUT;
            }
            // A dialog nobody answered in time is closed, so the test goes on and fails.
            if (std::chrono::steady_clock::now() > deadline) {
                for (HWND dialog : dialogs_of(watched)) {
                    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                }
            }
            // Forget closed dialogs: their handles may come back for new ones.
            answered.erase(std::remove_if(answered.begin(), answered.end(), [](HWND h) { return !IsWindow(h); }),
                           answered.end());
            std::this_thread::sleep_for(10ms);
        }
    }
};

Person::Person(std::vector<Answer> answers) : state_(new State) {
    state_->answers = std::move(answers);
    state_->thread = std::thread([state = state_] { state->watch(); });
}

Person::~Person() {
    done();
    delete state_;
}

std::vector<SeenDialog> Person::done() {
    state_->finished = true;
    if (state_->thread.joinable()) state_->thread.join();
    std::lock_guard<std::mutex> guard(state_->lock);
    return state_->seen;
}

// ---------------------------------------------------------------------------

std::wstring wide(const char16_t* text) {
    return text ? std::wstring(text, text + std::char_traits<char16_t>::length(text)) : L"";
}
std::u16string u16(const std::wstring& text) { return {text.begin(), text.end()}; }

std::ostream& operator<<(std::ostream& out, const Entry& entry) {
    std::wstring player = wide(entry.player_path.c_str()), local = wide(entry.local_path.c_str());
    return out << "{" << std::string(player.begin(), player.end()) << ", " << std::string(local.begin(), local.end())
               << "}";
}

std::vector<std::u16string> rows() {
    std::vector<std::u16string> found;
    int count = gadget_item_count(PLAYLIST_GADGET);
    for (int row = 0; row < count; ++row) {
        int mark = text_builder_mark();
        found.emplace_back(gadget_item_text_get(PLAYLIST_GADGET, row));
        text_builder_rewind(mark);
    }
    return found;
}

std::vector<Entry> entries() {
    std::vector<Entry> found;
    OrderedList* store = app.playlist_store.list;
    list_reset(store);
    while (auto* entry = static_cast<PlaylistEntry*>(list_next(store)))
        found.push_back({entry->player_path ? entry->player_path : u"", entry->local_path ? entry->local_path : u""});
    return found;
}

int selected_row() { return gadget_state_get(PLAYLIST_GADGET); }

std::wstring main_title() { return window_text(reinterpret_cast<HWND>(window_handle(MAIN_WINDOW))); }

std::wstring title_for(const std::wstring& file_name) { return L".: Tunelathe :.V 0.5.206 : " + file_name; }

bool drop_files(const std::vector<std::u16string>& paths, int over_row) {
    HWND list = list_handle();
    auto* target = static_cast<IDropTarget*>(GetPropW(list, L"QX_DropAccept"));
    if (!target) return false;
    POINT at{30, 10};
    int count = gadget_item_count(PLAYLIST_GADGET);
    RECT rect{};
    if (over_row >= 0) {
        SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(over_row), reinterpret_cast<LPARAM>(&rect));
        at.y = (rect.top + rect.bottom) / 2;
    } else if (count > 0) {
        SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(count - 1), reinterpret_cast<LPARAM>(&rect));
        RECT client{};
        GetClientRect(list, &client);
        at.y = std::min<LONG>(rect.bottom + 10, client.bottom - 2);
    }
    ClientToScreen(list, &at);
    POINTL point{at.x, at.y};
    TestDataObject data;
    data.add(CF_HDROP, wide_file_list(paths));
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    target->DragEnter(&data, MK_LBUTTON, point, &effect);
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    target->DragOver(MK_LBUTTON, point, &effect);
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    target->Drop(&data, 0, point, &effect);
    if (!wait_for_event(EVENT_GADGET_DROP)) return false;
    HandleFileDrop();
    return true;
}

bool close_request() {
    PostMessageW(reinterpret_cast<HWND>(window_handle(MAIN_WINDOW)), WM_CLOSE, 0, 0);
    return wait_for_event(EVENT_CLOSE_WINDOW);
}

// ---------------------------------------------------------------------------

bool exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<std::wstring> names_in(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

void remove_tree(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        for (const std::wstring& name : names_in(path)) remove_tree(path + L"\\" + name);
        RemoveDirectoryW(path.c_str());
    } else {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
    }
}

std::string utf8(const std::u16string& text) {
    if (text.empty()) return {};
    const auto* source = reinterpret_cast<const wchar_t*>(text.c_str());
    int size = WideCharToMultiByte(CP_UTF8, 0, source, static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, source, static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
}

void AppTest::SetUp() {
    ClearPlaylist();
    app.is_saved = 1;
    app.playlist_path = nullptr;
    UpdateTitle();
    while (event_wait_timeout(0) != EVENT_NONE) {
    }
    wchar_t temp[MAX_PATH];
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    static int made = 0;
    folder_ = std::wstring(temp) + L"tunelathe-app-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
              std::to_wstring(++made);
    remove_tree(folder_);
    ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr));
    wchar_t long_form[MAX_PATH];
    ASSERT_GT(GetLongPathNameW(folder_.c_str(), long_form, MAX_PATH), 0u);
    folder_ = long_form;
}

void AppTest::TearDown() { remove_tree(folder_); }
